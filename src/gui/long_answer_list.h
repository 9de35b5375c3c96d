#pragma once

#include "bank/question_record.h"
#include "gui/answer_area.h"

#include <array>

class QPlainTextEdit;
class QPushButton;

// The answer rows of a question with more than six answers: letters A to J
// beside their texts, as the window's own six rows look, in a list that
// scrolls over the place of those six. The window shows it only for such
// questions, so that a question of six answers or fewer keeps its rows.
class LongAnswerList : public AnswerArea
{
public:
    LongAnswerList(QWidget &window, const QRect &rows_area);

    // Indexed from 1 like the letters.
    const std::array<QPushButton *, max_answers + 1> &letters() const { return letters_; }
    const std::array<QPlainTextEdit *, max_answers + 1> &boxes() const { return boxes_; }

    // Shows the list from its top, its rows sized like the window's first
    // row as it is now (the window may have been resized).
    void show_like(const QPushButton &letter, const QPlainTextEdit &box);

private:
    std::array<QPushButton *, max_answers + 1> letters_{};
    std::array<QPlainTextEdit *, max_answers + 1> boxes_{};
};
