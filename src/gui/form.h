#pragma once

class QWidget;

// What the window registry needs of every window: its load and unload
// handlers. Windows derive from a Qt widget class and from this.
class Form
{
public:
    virtual ~Form() = default;

    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // A close from the title bar (or Alt+F4) unloads the window unless this
    // returns false: the window has then dealt with the close itself.
    virtual bool Form_QueryUnload() { return true; }
};
