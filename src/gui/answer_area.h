#pragma once

#include <QScrollArea>

// A list that scrolls over the place of the question window's answer rows,
// for a question the six rows do not fit, hidden until shown. Each control
// of it that is watched (installEventFilter(area)) scrolls into view as it
// takes the focus, by Tab or by its key.
class AnswerArea : public QScrollArea
{
public:
    AnswerArea(QWidget &window, const QRect &rows_area, const QString &name, const QString &accessible_name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
