#pragma once

#include "bank/question_record.h"

#include <QString>
#include <array>

// Marking and score arithmetic of the question window, free of widgets.

// One flag per answer position, 1..max_answers.
using AnswerFlags = std::array<bool, max_answers + 1>;

// What the student did on a choice question: which positions are shown and
// which of them are pressed.
struct ChoiceAnswer {
    AnswerFlags visible{};
    AnswerFlags pressed{};
};

// Right only when the pressed visible choices are exactly the right ones; in
// an any-one-right question, when one choice is pressed and it is right.
bool choice_is_right(const question_record &record, const ChoiceAnswer &answer);

// Right when the typed text, trimmed of surrounding white space (line breaks
// included) and upper-cased, equals a non-empty answer treated the same way;
// a numerical question's when the answer its value matches is a right one.
bool typed_is_right(const question_record &record, const QString &typed);

// "9/18"
QString score_text(int number_right, int answered);

// Whole percent rounded down, computed exactly in integers; 0 when nothing
// was answered.
int percent_right(int number_right, int answered);
QString percent_text(int number_right, int answered);

// Height of the red cover over the score gauge: the share of wrong answers
// of the gauge's height. It is hidden when it would be thinner than
// gauge_cover_min_height (all answers right so far).
struct GaugeCover {
    int height = 0;
    bool visible = false;
};
constexpr double gauge_cover_min_height = 20.0 / 15.0;  // a third of a pixel above one
GaugeCover gauge_cover(int number_right, int answered, int gauge_height);
