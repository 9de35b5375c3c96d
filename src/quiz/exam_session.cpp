#include "quiz/exam_session.h"

#include <algorithm>

ExamSession::ExamSession(int count, qint64 limit_ms, qint64 started_ms)
    : entries_(size_t(std::max(count, 0))), limit_ms_(limit_ms), started_ms_(started_ms), entered_ms_(started_ms)
{
    for (Entry &entry : entries_)
        entry.answer.answered = false;
}

void ExamSession::go_to(int position, qint64 now_ms)
{
    if (!entries_.empty())
        entries_.at(size_t(current_)).answer.milliseconds += std::max<qint64>(now_ms - entered_ms_, 0);
    entered_ms_ = now_ms;
    current_ = std::clamp(position, 0, std::max(count() - 1, 0));
}

void ExamSession::set_question(int position, qint16 bank_index, const question_record &record)
{
    LoggedAnswer &answer = entries_.at(size_t(position)).answer;
    answer.bank_index = bank_index;
    answer.shown = record;
}

void ExamSession::keep(int position, const StudentAnswer &given)
{
    LoggedAnswer &answer = entries_.at(size_t(position)).answer;
    answer.take(given);
    answer.answered = has_answer(answer);
}

int ExamSession::unanswered_count() const
{
    return int(std::count_if(entries_.begin(), entries_.end(), [](const Entry &e) { return !e.answer.answered; }));
}

int ExamSession::flagged_count() const
{
    return int(std::count_if(entries_.begin(), entries_.end(), [](const Entry &e) { return e.flagged; }));
}

qint64 ExamSession::remaining_ms(qint64 now_ms) const
{
    return std::clamp<qint64>(limit_ms_ - (now_ms - started_ms_), 0, limit_ms_);
}

ExamSession::Warning ExamSession::warning_due(qint64 now_ms)
{
    const qint64 left = remaining_ms(now_ms);
    Warning due = Warning::none;
    if (left <= one_minute_ms && limit_ms_ > one_minute_ms)
        due = Warning::one_minute;
    else if (left <= five_minutes_ms && limit_ms_ > five_minutes_ms)
        due = Warning::five_minutes;
    if (int(due) <= int(warned_))
        return Warning::none;
    warned_ = due;
    return due;
}

std::vector<LoggedAnswer> ExamSession::submit(qint64 now_ms)
{
    go_to(current_, now_ms);
    std::vector<LoggedAnswer> marked;
    for (const Entry &entry : entries_) {
        LoggedAnswer answer = entry.answer;
        mark(answer);
        marked.push_back(std::move(answer));
    }
    return marked;
}

bool has_answer(const LoggedAnswer &answer)
{
    if (answer.lab_question())
        return !answer.lab.commands.isEmpty();
    if (answer.typed_question())
        return !answer.typed.trimmed().isEmpty();
    if (answer.matching_question())
        return std::any_of(answer.matched.begin(), answer.matched.end(), [](int meaning) { return meaning >= 0; });
    for (size_t p = 1; p <= max_answers; ++p) {
        if (answer.choice.visible[p] && answer.choice.pressed[p])
            return true;
    }
    return false;
}
