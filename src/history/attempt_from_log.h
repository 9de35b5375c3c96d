#pragma once

#include "history/attempt_record.h"

class AnswerLog;
struct QuestionBank;
struct QuizState;

// The attempt to save for the quiz just ended: its answers as the log holds
// them, the quiz, mode (practice or exam) and options in force, ended at the
// time given and started the time spent on its questions before. A quiz of other questions than
// the four quizzes (a retry, the questions due for review) counts as
// AttemptRecord::chosen_questions.
AttemptRecord attempt_from_log(const AnswerLog &log, const QuizState &state, const QuestionBank &bank,
                               const QDateTime &ended);
