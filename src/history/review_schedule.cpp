#include "history/review_schedule.h"

std::optional<ReviewEntry> after_answer(const std::optional<ReviewEntry> &current, bool right, const QDateTime &at)
{
    if (!right)
        return ReviewEntry{0, at.addDays(1)};
    if (!current || !is_due(*current, at))
        return current;
    const int step = current->step + 1;
    if (step > ReviewEntry::last_step)
        return std::nullopt;
    return ReviewEntry{step, at.addDays(qint64(1) << step)};
}
