#pragma once

#include "quiz/answer_log.h"

#include <QString>
#include <QStringList>
#include <array>

// Texts shown to the student after an answer and at the end of a quiz.

// The answer window's text: heading, the right answer(s), the question with
// its visible lettered choices, the explanation and the answer note. Lines
// are joined by CR LF. visible[p] tells which choice positions are on
// screen; it is not used for typed questions. A lab has no answers: whether
// every goal holds takes their place.
QString feedback_text(const question_record &record, bool answered_right,
                      const AnswerFlags &visible);

// The same for a marked answer, with what it earned: after the right
// answer(s), the feedback of the typed answer matched and the partial credit
// of a weighted question (see outcome_lines).
QString feedback_text(const LoggedAnswer &marked);

// What the student's answer earned beyond right or wrong, one line each:
// "About your answer: FEEDBACK" for a typed answer whose matched answer
// (right or wrong) has feedback, and "Partial credit: 75%." when a question
// with weights earned some credit but not all; for a matching question, the
// share of pairs right, as the learning platforms credit it. A lab's are the
// goals met and missed and the commands typed (lab_outcome_lines). Empty
// when none applies.
QStringList outcome_lines(const LoggedAnswer &marked);

// "75%", "33.33%": a credit in percent, to two decimals at most.
QString credit_text(double percent);

// The end-of-quiz report, lines joined by LF.
QString report_text(int number_right, int total);

inline const QString report_title = QStringLiteral("Test Complete!");
