#pragma once

#include "bank/question_record.h"

#include <QtGlobal>
#include <vector>

// The state every window shares for the whole run. Counters and flags are
// 16-bit like the rest of the quiz; arrays count from 1 (index 0 unused).
struct QuizState {
    qint16 questions_per_quiz = 0;   // questions in the quiz in force (questions_in_quiz for a quiz of the bank)
    qint16 selected_quiz = 0;        // quiz chosen on the options window, 1..4
    qint16 quiz_number = 0;          // quiz in force, 1..4
    std::vector<qint16> quiz_questions;  // bank index of each quiz position
    std::vector<qint16> question_order;  // quiz positions in asking order, questions_per_quiz + 1 entries
    qint16 current_question = 0;     // position of the question on screen, 0 before the first
    qint16 question_id = 0;          // bank index of the question on screen
    qint16 number_right = 0;

    qint16 show_when_right = 0;      // option flags, 0 or 1
    qint16 show_when_wrong = 0;
    qint16 random_question_order = 0;
    qint16 random_answer_order = 0;
    qint16 exam_mode = 0;            // 1: marked at the end, timed
    qint16 exam_minutes = 0;         // the exam's time limit

    qint16 answer_count = 0;         // non-empty answers of the question on screen
    qint16 answer_result = 0;        // last marking: answer_right or answer_wrong
    question_record current_record;  // the question on screen, answers in screen order

    static constexpr qint16 answer_right = 1;
    static constexpr qint16 answer_wrong = 99;
};
