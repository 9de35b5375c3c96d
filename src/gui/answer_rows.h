#pragma once

#include "bank/question_record.h"

#include <QObject>
#include <array>

class QPlainTextEdit;
class QPushButton;
class QWidget;

// The answer rows of the question window, each a letter (a checkable
// button) beside its answer's text box. The boxes show their text whole,
// without scroll bars; a pressed letter stands out by colour and a sunken
// edge; and a click on a read-only answer's text (a choice question)
// toggles its letter, as a click on the letter would. A typed answer is one
// line: Enter in its box presses NEXT, Shift+Enter still breaks the line.
class AnswerRows : public QObject
{
public:
    using Boxes = std::array<QPlainTextEdit *, max_answers + 1>;
    using Letters = std::array<QPushButton *, max_answers + 1>;
    // Indexed from 1 like the letters; a row left null is not one.
    AnswerRows(QWidget &window, const Boxes &boxes, const Letters &letters, QPushButton &next);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Boxes boxes_;
    Letters letters_;
    QPushButton &next_;
};
