#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

// Read-only in effect: whenever `from` gets the focus, it moves on to `to`.
class FocusRedirect : public QObject
{
public:
    FocusRedirect(QWidget &from, QWidget &to) : QObject(&from), to_(&to) { from.installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && to_)
            to_->setFocus(Qt::OtherFocusReason);
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> to_;
};
