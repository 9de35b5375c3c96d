#pragma once

#include "bank/question_record.h"

#include <QString>
#include <QStringList>
#include <array>

// Marking and score arithmetic of the question window, free of widgets.

// What the student did on a choice question: which positions are shown and
// which of them are pressed (index 1..6).
struct ChoiceAnswer {
    std::array<bool, 7> visible{};
    std::array<bool, 7> pressed{};
};

// Right only when the pressed visible choices are exactly the right ones; in
// an any-one-right question, when one choice is pressed and it is right.
bool choice_is_right(const question_record &record, const ChoiceAnswer &answer);

// What the student did on a lab: the texts of the goals the network met and
// missed when the answer was given, and the commands typed ("SW1: vlan 10")
// in order.
struct LabOutcome {
    QStringList met;
    QStringList missed;
    QStringList commands;
};

// Right when every goal holds.
bool lab_is_right(const LabOutcome &outcome);

// The outcome for the student to read: the goals met, those missed and the
// commands typed, each under its heading.
QStringList lab_outcome_lines(const LabOutcome &outcome);

// Whether text fits pattern, in which "*" stands for any run of characters
// (none included) and "\*" for a star itself; compared with or without case.
bool fits_pattern(QStringView pattern, QStringView text, Qt::CaseSensitivity cs);

// The answer (1..max_answers) a typed text matches, 0 when none: the first
// non-empty answer in file order whose pattern fits the text, both trimmed of
// surrounding white space (line breaks included), compared without case
// unless the question says case matters. The learning platforms mark so,
// right or wrong answer alike (a catch-all "*" of no credit comes last).
size_t typed_match(const question_record &record, const QString &typed);

// Right when the answer matched earns full credit.
bool typed_is_right(const question_record &record, const QString &typed);

// Credit in percent as a learning platform gives it: a typed answer the
// weight of the answer matched; a choice of one answer the weight of the one
// pressed, of several answers the weights of those pressed added up, kept
// between 0 and 100.
double typed_credit(const question_record &record, const QString &typed);
double choice_credit(const question_record &record, const ChoiceAnswer &answer);

// "9/18"
QString score_text(int number_right, int answered);

// Whole percent rounded down, computed exactly in integers; 0 when nothing
// was answered.
int percent_right(int number_right, int answered);
QString percent_text(int number_right, int answered);

// Height of the red cover over the score gauge: the share of wrong answers
// of the gauge's height. It is hidden when it would be thinner than
// gauge_cover_min_height (all answers right so far).
struct GaugeCover {
    int height = 0;
    bool visible = false;
};
constexpr double gauge_cover_min_height = 20.0 / 15.0;  // a third of a pixel above one
GaugeCover gauge_cover(int number_right, int answered, int gauge_height);
