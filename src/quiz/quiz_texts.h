#pragma once

#include "quiz/marking.h"

#include <QString>
#include <array>

// Texts shown to the student after an answer and at the end of a quiz.

// The answer window's text: heading, the right answer(s), the question with
// its visible lettered choices, the explanation and the answer note. Lines
// are joined by CR LF. visible[p] tells which choice positions are on
// screen; it is not used for typed questions.
QString feedback_text(const question_record &record, bool answered_right,
                      const AnswerFlags &visible);

// The end-of-quiz report, lines joined by LF.
QString report_text(int number_right, int total);

inline const QString report_title = QStringLiteral("Test Complete!");
