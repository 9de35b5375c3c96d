#pragma once

#include <QElapsedTimer>
#include <QObject>

class QWidget;

// Ignores the mouse and the keyboard in a window for a moment after it is
// shown, so that the rest of a double-click, or a key held down, meant for
// the window beneath cannot act on it before it has been seen. Tab, which
// acts on nothing, moves the focus as ever.
class InputGrace : public QObject
{
public:
    InputGrace(QWidget &window, int milliseconds);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool in_grace() const;

    QWidget &window_;
    int milliseconds_;
    QElapsedTimer shown_;
};
