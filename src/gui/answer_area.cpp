#include "gui/answer_area.h"

#include <QEvent>

AnswerArea::AnswerArea(QWidget &window, const QRect &rows_area, const QString &name, const QString &accessible_name)
    : QScrollArea(&window)
{
    setObjectName(name);
    setAccessibleName(accessible_name);
    setGeometry(rows_area);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    hide();
}

bool AnswerArea::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        ensureWidgetVisible(static_cast<QWidget *>(watched));
    return QScrollArea::eventFilter(watched, event);
}
