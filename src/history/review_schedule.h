#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// When a missed question comes back. A miss puts it at the first step, due a
// day later; each right answer once it is due moves it one step up, with gaps
// of 1, 2, 4, 8 and 16 days; a right answer at the last step retires it. A
// wrong answer at any time sends it back to the first step. A right answer
// before it is due (say, in a retry straight after the miss) leaves it where
// it is: remembering what was just read proves little.
struct ReviewEntry {
    int step = 0;      // 0..last_step; the gap that led here is 2^step days
    QDateTime due;     // UTC

    static constexpr int last_step = 4;
    bool operator==(const ReviewEntry &other) const { return step == other.step && due == other.due; }
};

// The entry after answering at the time at; nullopt when the question is not
// (or no longer) under review.
std::optional<ReviewEntry> after_answer(const std::optional<ReviewEntry> &current, bool right, const QDateTime &at);

// A question due for review, as the results file knows it.
struct DueQuestion {
    qint16 question_id = 0;
    QString question_hash;
    ReviewEntry entry;
};

inline bool is_due(const ReviewEntry &entry, const QDateTime &now)
{
    return entry.due <= now;
}
