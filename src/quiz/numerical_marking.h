#pragma once

#include "bank/question_record.h"

#include <QString>
#include <optional>

// Marking of numerical questions, as the learning platforms mark them: the
// first answer (in the bank's order) whose value lies within its tolerance
// of the value typed is the one matched.

// The value typed, in the question's own unit: a number ("2.5", "-1e3", a
// decimal comma read as a point), then optionally one of the question's
// units. Nothing when it is not a number or its unit is not the question's.
std::optional<double> typed_value(const question_record &record, const QString &typed);

// The answer the typed text matches (1..max_answers), or 0. "*" matches
// any value; what is not a value matches nothing.
size_t numerical_match(const question_record &record, const QString &typed);

// The right answers as they read, "3.14 ± 0.01 or 42", with the units.
QString numerical_right_answers(const question_record &record);
