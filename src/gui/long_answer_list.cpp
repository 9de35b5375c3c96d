#include "gui/long_answer_list.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

LongAnswerList::LongAnswerList(QWidget &window, const QRect &rows_area)
    : AnswerArea(window, rows_area, QStringLiteral("long_answers"), tr("Answers"))
{
    auto *rows = new QWidget;
    auto *grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);
    for (size_t p = 1; p <= max_answers; ++p) {
        letters_[p] = new QPushButton(QString(QChar(char16_t(u'A' + p - 1))), rows);
        letters_[p]->setCheckable(true);
        letters_[p]->installEventFilter(this);
        boxes_[p] = new QPlainTextEdit(rows);
        boxes_[p]->setReadOnly(true);
        boxes_[p]->setFocusPolicy(Qt::ClickFocus);
        boxes_[p]->setTabChangesFocus(true);
        boxes_[p]->setFrameShape(QFrame::NoFrame);
        grid->addWidget(letters_[p], int(p) - 1, 0, Qt::AlignTop);
        grid->addWidget(boxes_[p], int(p) - 1, 1, Qt::AlignTop);
    }
    grid->setRowStretch(int(max_answers), 1);
    setWidget(rows);
}

void LongAnswerList::show_like(const QPushButton &letter, const QPlainTextEdit &box)
{
    // The window's rows stand 7 units apart for 33 of height.
    const int gap = box.height() * 7 / 33;
    auto *grid = static_cast<QGridLayout *>(widget()->layout());
    grid->setVerticalSpacing(gap);
    grid->setHorizontalSpacing(box.x() - letter.x() - letter.width());
    for (size_t p = 1; p <= max_answers; ++p) {
        letters_[p]->setFont(letter.font());
        letters_[p]->setFixedSize(letter.size());
        boxes_[p]->setFont(box.font());
        boxes_[p]->setFixedHeight(box.height());
    }
    show();
    verticalScrollBar()->setValue(0);
}
