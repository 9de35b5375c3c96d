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
};
