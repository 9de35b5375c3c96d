#pragma once

#include <QtGlobal>

class RandomGenerator;
struct QuizState;

// The bank is split into four interleaved quizzes: position p of quiz k is
// bank question (p - 1) * 4 + k.
constexpr int quiz_count = 4;

qint16 questions_per_quiz_for(qint16 total_questions);
qint16 bank_index(qint16 quiz_position, qint16 quiz_number);

// Fills question_order[1..questions_per_quiz] with 1..questions_per_quiz and,
// when random_question_order is 1, swaps every position with one drawn over
// the whole range. Entries 0 and past questions_per_quiz are left alone.
void build_question_order(QuizState &state, RandomGenerator &random);
