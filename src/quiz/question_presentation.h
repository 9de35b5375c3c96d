#pragma once

#include "bank/question_record.h"

#include <array>

class RandomGenerator;

// A bank question as it goes on screen: its answers (and their right-answer
// flags and feedback with them) in screen order.
struct PresentedQuestion {
    question_record record;               // answers[p] is shown at position p
    std::array<qint16, max_answers + 1> display_order{}; // bank answer number shown at position p
    qint16 answer_count = 0;              // answers whose trimmed text is not empty
};

// Counts the answers and, when shuffle_answers is set and the answers are
// choices (a typed question's are matched in order), swaps each position
// 1..answer_count with one drawn over that whole range. Positions past
// answer_count keep their own answer.
PresentedQuestion present_question(const question_record &bank_record, bool shuffle_answers,
                                   RandomGenerator &random);
