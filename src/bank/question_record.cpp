#include "bank/question_record.h"

#include <cmath>

int right_count(const question_record &record)
{
    int rights = 0;
    for (size_t p = 1; p <= max_answers; ++p)
        rights += record.correct[p] == 1 && !record.answers[p].isEmpty();
    return rights;
}

bool one_to_choose(const question_record &record)
{
    if (is_typed_question(record) || (right_count(record) > 1 && !is_any_one_right(record)))
        return false;
    for (size_t p = 1; p <= max_answers; ++p) {
        if (record.correct[p] == 1 && answer_weight(record, p) < full_credit)
            return false;
    }
    return true;
}

double default_weight(const question_record &record, size_t k)
{
    if (is_typed_question(record))
        return 100;
    const int rights = right_count(record);
    const bool right = record.correct[k] == 1;
    if (rights <= 1 || is_any_one_right(record))
        return right ? 100 : 0;
    return right ? 100.0 / rights : -100;
}

void drop_default_weights(question_record &record)
{
    if (!record.weighted)
        return;
    for (size_t k = 1; k <= max_answers; ++k) {
        if (!record.answers[k].isEmpty() && std::abs(record.weights[k] - default_weight(record, k)) > 0.001)
            return;
    }
    record.weighted = false;
    record.weights = {};
}
