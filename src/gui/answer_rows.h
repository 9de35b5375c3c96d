#pragma once

#include <QObject>
#include <array>

class QPlainTextEdit;
class QPushButton;
class QWidget;

// The six answer rows of the question window, each a letter (a checkable
// button) beside its answer's text box. The boxes show their text whole,
// without scroll bars; a pressed letter stands out by colour and a sunken
// edge; and a click on a read-only answer's text (a choice question)
// toggles its letter, as a click on the letter would. A typed answer is one
// line: Enter in its box presses NEXT, Shift+Enter still breaks the line.
class AnswerRows : public QObject
{
public:
    // Indexed from 1 like the letters.
    AnswerRows(QWidget &window, const std::array<QPlainTextEdit *, 7> &boxes,
               const std::array<QPushButton *, 7> &letters, QPushButton &next);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<QPlainTextEdit *, 7> boxes_;
    std::array<QPushButton *, 7> letters_;
    QPushButton &next_;
};
