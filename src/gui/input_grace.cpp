#include "gui/input_grace.h"

#include <QEvent>
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
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (shown_.isValid() && shown_.elapsed() < milliseconds_)
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
