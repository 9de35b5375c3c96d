#include "quiz/answer_log.h"

#include <algorithm>

void LoggedAnswer::take(const StudentAnswer &given)
{
    choice = given.choice;
    typed = given.typed;
    lab = given.lab;
    matched = given.matched;
}

void mark(LoggedAnswer &answer)
{
    if (!answer.answered)
        answer.right = false;
    else if (answer.lab_question())
        answer.right = lab_is_right(answer.lab);
    else if (answer.matching_question())
        answer.right = matching_is_right(answer.shown, answer.matched);
    else if (answer.typed_question())
        answer.right = typed_is_right(answer.shown, answer.typed);
    else
        answer.right = choice_is_right(answer.shown, answer.choice);
}

int AnswerLog::right_count() const
{
    return int(std::count_if(answers_.begin(), answers_.end(), [](const LoggedAnswer &a) { return a.right; }));
}

std::vector<qint16> AnswerLog::missed_questions() const
{
    std::vector<qint16> missed;
    for (const LoggedAnswer &answer : answers_) {
        if (!answer.right)
            missed.push_back(answer.bank_index);
    }
    return missed;
}
