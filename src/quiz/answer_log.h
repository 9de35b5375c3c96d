#pragma once

#include "quiz/marking.h"
#include "quiz/matching_marking.h"
#include "bank/question_record.h"

#include <QString>
#include <QtGlobal>
#include <vector>

// What the student pressed, typed, paired or did on one question.
struct StudentAnswer {
    ChoiceAnswer choice;
    QString typed;
    LabOutcome lab;
    MatchingAnswer matched;
};

// One question of a quiz as the student saw and answered it.
struct LoggedAnswer {
    qint16 bank_index = 0;
    question_record shown;       // answers and right flags in the order shown; shown.topic is the topic
    ChoiceAnswer choice;         // choice positions on screen and those pressed
    QString typed;               // the typed answer of a typed question
    LabOutcome lab;              // what the student did on a lab question
    MatchingAnswer matched;      // the meanings given to the stems of a matching question
    bool answered = true;        // false: left unanswered (an exam submitted without it)
    bool right = false;
    qint64 milliseconds = 0;     // time spent on the question

    bool typed_question() const { return is_typed_question(shown); }
    bool lab_question() const { return is_lab_question(shown); }
    bool matching_question() const { return is_matching_question(shown); }

    void take(const StudentAnswer &given);
};

// Marks the answer exactly as the question window marks it; an unanswered
// question is wrong.
void mark(LoggedAnswer &answer);

// The questions of one quiz in asking order. A quiz that is quit early holds
// only the questions answered.
class AnswerLog
{
public:
    void clear() { answers_.clear(); }
    void add(LoggedAnswer answer) { answers_.push_back(std::move(answer)); }

    const std::vector<LoggedAnswer> &answers() const { return answers_; }
    int asked() const { return int(answers_.size()); }
    int right_count() const;
    int missed_count() const { return asked() - right_count(); }

    // The bank indices of the missed questions in asking order: the questions of a "retry missed" quiz.
    std::vector<qint16> missed_questions() const;

private:
    std::vector<LoggedAnswer> answers_;
};
