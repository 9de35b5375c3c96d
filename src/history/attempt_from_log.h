#pragma once

#include "history/attempt_record.h"

class AnswerLog;
struct QuestionBank;
struct QuizState;

// The attempt to save for the quiz just ended: its answers as the log holds
// them, the quiz, mode (practice or exam) and options in force, ended at the
// time given and started the time spent on its questions before. A quiz of other questions than
// the four quizzes counts as AttemptRecord::due_questions when due_for_review
// is set, else as AttemptRecord::chosen_questions (a retry). A quiz quit
// early is saved with every question it had, those not reached missed.
AttemptRecord attempt_from_log(const AnswerLog &log, const QuizState &state, const QuestionBank &bank,
                               const QDateTime &ended, bool due_for_review = false);
