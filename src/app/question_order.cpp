#include "question_order.h"

#include "quiz_state.h"
#include "random_generator.h"

#include <algorithm>
#include <utility>

qint16 questions_per_quiz_for(qint16 total_questions)
{
    const int per_quiz = total_questions / quiz_count;
    return qint16(std::clamp(per_quiz, 0, QuizState::max_questions_per_quiz));
}

qint16 bank_index(qint16 quiz_position, qint16 quiz_number)
{
    return qint16((quiz_position - 1) * quiz_count + quiz_number);
}

void build_question_order(QuizState &state, RandomGenerator &random)
{
    const qint16 count = state.questions_per_quiz;
    for (qint16 i = 1; i <= count; ++i)
        state.question_order[size_t(i)] = i;
    if (state.random_question_order != 1)
        return;
    for (qint16 i = 1; i <= count; ++i) {
        const qint16 j = random.next_position(count);
        std::swap(state.question_order[size_t(i)], state.question_order[size_t(j)]);
    }
}
