#include "quiz/question_presentation.h"

#include "quiz/random_generator.h"

#include <utility>

PresentedQuestion present_question(const question_record &bank_record, bool shuffle_answers,
                                   RandomGenerator &random)
{
    PresentedQuestion shown;
    for (qint16 p = 1; p <= qint16(max_answers); ++p) {
        shown.display_order[size_t(p)] = p;
        if (!bank_record.answers[size_t(p)].trimmed().isEmpty())
            ++shown.answer_count;
    }
    // A typed question's answers are matched in their order: never shuffled.
    if (shuffle_answers && !is_typed_question(bank_record)) {
        const qint16 count = shown.answer_count;
        for (qint16 p = 1; p <= count; ++p)
            std::swap(shown.display_order[size_t(p)], shown.display_order[size_t(random.next_position(count))]);
    }
    shown.record = bank_record;
    for (size_t p = 1; p <= max_answers; ++p) {
        const size_t from = size_t(shown.display_order[p]);
        shown.record.answers[p] = bank_record.answers[from];
        shown.record.correct[p] = bank_record.correct[from];
        shown.record.answer_feedback[p] = bank_record.answer_feedback[from];
        shown.record.weights[p] = bank_record.weights[from];
        shown.record.matches[p] = bank_record.matches[from];
    }
    return shown;
}
