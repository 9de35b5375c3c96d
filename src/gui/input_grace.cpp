#include "gui/input_grace.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

InputGrace::InputGrace(QWidget &window, int milliseconds)
    : QObject(&window), window_(window), milliseconds_(milliseconds)
{
    window.installEventFilter(this);
    for (QWidget *child : window.findChildren<QWidget *>())
        child->installEventFilter(this);
}

bool InputGrace::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        if (watched == &window_)
            shown_.start();
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // Tab and Shift+Tab only move the focus: a screen reader's user may
        // go on to the window's text at once.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Tab && key != Qt::Key_Backtab && in_grace())
            return true;
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (in_grace())
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool InputGrace::in_grace() const
{
    return shown_.isValid() && shown_.elapsed() < milliseconds_;
}
