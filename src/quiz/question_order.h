#pragma once

#include <QtGlobal>
#include <vector>

class RandomGenerator;
struct QuizState;

// The bank is spread over four interleaved quizzes: position p of quiz k is
// bank question (p - 1) * 4 + k, so quiz k asks k, k + 4, k + 8... up to the
// last question, and every question is in one quiz. When the bank's size is
// not a multiple of four, the first quizzes have one question more (a bank of
// 6 gives quizzes of 2, 2, 1 and 1). A bank of fewer than four questions is
// not split: each quiz asks all of them.
constexpr int quiz_count = 4;

qint16 questions_in_quiz(qint16 quiz_number, qint16 total_questions);
qint16 bank_index(qint16 quiz_position, qint16 quiz_number);

// The bank questions of quiz quiz_number by quiz position (index 0 unused).
std::vector<qint16> quiz_bank_questions(qint16 quiz_number, qint16 total_questions);

// Makes the quiz in force one of the given bank questions, listed from 0:
// quiz_questions gets them from position 1 and questions_per_quiz becomes
// their count. The one place where a list of the program's own meets the
// quiz state's arrays that count from 1.
void set_quiz_questions(QuizState &state, const std::vector<qint16> &bank_questions);

// Sets question_order to questions_per_quiz + 1 entries: 0, then
// 1..questions_per_quiz and, when random_question_order is 1, swaps every
// position with one drawn over the whole range.
void build_question_order(QuizState &state, RandomGenerator &random);
