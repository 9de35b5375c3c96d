#include "quiz/question_order.h"

#include "quiz/quiz_state.h"
#include "quiz/random_generator.h"

#include <algorithm>
#include <utility>

qint16 questions_in_quiz(qint16 quiz_number, qint16 total_questions)
{
    if (total_questions < quiz_count)
        return qint16(std::max<int>(total_questions, 0));
    if (quiz_number < 1 || quiz_number > quiz_count)
        return 0;
    return qint16((total_questions - quiz_number) / quiz_count + 1);
}

qint16 bank_index(qint16 quiz_position, qint16 quiz_number)
{
    return qint16((quiz_position - 1) * quiz_count + quiz_number);
}

std::vector<qint16> quiz_bank_questions(qint16 quiz_number, qint16 total_questions)
{
    const qint16 count = questions_in_quiz(quiz_number, total_questions);
    std::vector<qint16> questions(size_t(count) + 1, 0);
    for (qint16 p = 1; p <= count; ++p)
        questions[size_t(p)] = total_questions < quiz_count ? p : bank_index(p, quiz_number);
    return questions;
}

void set_quiz_questions(QuizState &state, const std::vector<qint16> &bank_questions)
{
    state.quiz_questions.assign(1, 0);
    state.quiz_questions.insert(state.quiz_questions.end(), bank_questions.begin(), bank_questions.end());
    state.questions_per_quiz = qint16(bank_questions.size());
}

void build_question_order(QuizState &state, RandomGenerator &random)
{
    const qint16 count = state.questions_per_quiz;
    state.question_order.assign(size_t(std::max<int>(count, 0)) + 1, 0);
    for (qint16 i = 1; i <= count; ++i)
        state.question_order[size_t(i)] = i;
    if (state.random_question_order != 1)
        return;
    for (qint16 i = 1; i <= count; ++i) {
        const qint16 j = random.next_position(count);
        std::swap(state.question_order[size_t(i)], state.question_order[size_t(j)]);
    }
}
