#pragma once

#include "quiz/answer_log.h"

#include <QtGlobal>
#include <vector>

// An exam in progress: nothing is marked until it is submitted. Each
// position (0..count - 1) keeps the question as first shown, the answer as last
// given, a flag and the time spent on it, so the student can move back and
// forth freely. Times are clock readings in milliseconds, passed in.
class ExamSession
{
public:
    enum class Warning { none, five_minutes, one_minute };
    static constexpr qint64 five_minutes_ms = 5 * 60 * 1000;
    static constexpr qint64 one_minute_ms = 60 * 1000;

    ExamSession(int count, qint64 limit_ms, qint64 started_ms);

    int count() const { return int(entries_.size()); }
    int current() const { return current_; }

    // Moves to a position (clamped to 0..count - 1), adding the time since the
    // last move to the position left.
    void go_to(int position, qint64 now_ms);

    // The question at a position: bank index and record with its answers in
    // the order shown. Every position gets one before the exam begins.
    void set_question(int position, qint16 bank_index, const question_record &record);

    // The answer as last given at a position; answered tells whether there
    // is one (a choice pressed, or text typed).
    const LoggedAnswer &answer(int position) const { return entries_.at(size_t(position)).answer; }
    void keep(int position, const StudentAnswer &given);

    bool flagged(int position) const { return entries_.at(size_t(position)).flagged; }
    void set_flagged(int position, bool flagged) { entries_.at(size_t(position)).flagged = flagged; }

    int unanswered_count() const;
    int flagged_count() const;

    qint64 remaining_ms(qint64 now_ms) const;
    bool time_up(qint64 now_ms) const { return remaining_ms(now_ms) == 0; }
    // A warning the first time the time left reaches five minutes and one
    // minute (only the later one when both are passed at once); none after.
    Warning warning_due(qint64 now_ms);

    // Every position in order, marked as the question window marks (an
    // unanswered question is wrong), with the time spent on each; the time
    // since the last move goes to the current position.
    std::vector<LoggedAnswer> submit(qint64 now_ms);

private:
    struct Entry {
        bool flagged = false;
        LoggedAnswer answer;
    };

    std::vector<Entry> entries_;
    int current_ = 0;
    qint64 limit_ms_;
    qint64 started_ms_;
    qint64 entered_ms_;           // when the current position was entered
    Warning warned_ = Warning::none;
};

// A choice pressed among those shown, non-blank typed text, or a command
// typed on a lab.
bool has_answer(const LoggedAnswer &answer);
