#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <cstddef>
#include <memory>
#include <vector>

struct LabDefinition;

// The most answers a question may have. The built-in bank and the question
// window's own rows use 1..6; imported questions may have more.
constexpr size_t max_answers = 10;

// A unit a numerical answer may be typed in: a value in it is the value in
// the question's own unit times multiplier ("cm", 100 where answers are in m).
struct AnswerUnit {
    QString name;
    double multiplier = 1;
};

// One question as the question window needs it. Arrays count from 1 like the
// answer letters on screen; index 0 exists and is never used.
struct question_record {
    QString question;
    // The question with its inline formatting (formatted_html), shown in
    // place of question when not "": bold, italic... from a bank in HTML.
    QString question_html;
    std::array<QString, max_answers + 1> answers;   // 1..max_answers; a choice the question lacks is ""
    std::array<qint16, max_answers + 1> correct{};  // 1 = right, 0 = wrong
    QString explanation;              // lines joined by CR LF, "" when none
    QString question_type;            // "FILL..." = typed answer, "ANY_ONE_RIGHT", else choice
    std::array<QString, 4> diagrams;  // picture file names, 1..3, "" = none
    std::array<QString, 4> diagram_descriptions;  // 1..3: what each diagram shows, in words, "" = none
    std::array<QString, 4> exhibits;  // text file names, 1..3, "" = none
    QString reserved_text;            // never set
    QString clue;                     // "" = no clue
    QString answer_note;              // shown on a line after the explanation
    QString topic;                    // the subject area, for the score by topic
    std::array<QString, max_answers + 1> answer_feedback;  // 1..max_answers: what choosing that answer means, "" = none
    // A numerical question: answers[k] is a number (or "*", any answer),
    // matched within tolerances[k] either side; units the student may add.
    std::array<double, max_answers + 1> tolerances{};
    std::vector<AnswerUnit> units;
    // Credit of each answer in percent (negative takes credit away), as the
    // bank file gives it; only when weighted, else see answer_weight().
    std::array<double, max_answers + 1> weights{};  // 1..max_answers
    bool weighted = false;
    bool case_sensitive = false;  // typed answers are compared with their case
    // A matching question: answers[k] is a stem and matches[k] the meaning
    // that pairs with it. Slots after the stems with a meaning and no stem
    // are distractors, offered to every stem and right for none.
    std::array<QString, max_answers + 1> matches;
    std::shared_ptr<const LabDefinition> lab;  // a lab question's network and goals; null for any other
};

inline QString numerical_type()
{
    return QStringLiteral("NUMERICAL");
}

// A typed answer marked by its value.
inline bool is_numerical_question(const question_record &record)
{
    return record.question_type.compare(numerical_type(), Qt::CaseInsensitive) == 0;
}

// A question whose type starts with "FILL" (any case), or a numerical one, is
// answered by typing.
inline bool is_typed_question(const question_record &record)
{
    return record.question_type.left(4).toUpper() == QLatin1String("FILL") || is_numerical_question(record);
}

// A lab: the student configures a simulated network and is marked on the
// goals it then meets. Its record has no answers.
inline QString lab_question_type()
{
    return QStringLiteral("lab");
}

inline bool is_lab_question(const question_record &record)
{
    return record.question_type.compare(lab_question_type(), Qt::CaseInsensitive) == 0;
}

// Each stem is given one of the meanings from a list; the question is right
// when every pair is right.
inline QString matching_type()
{
    return QStringLiteral("MATCHING");
}

inline bool is_matching_question(const question_record &record)
{
    return record.question_type.compare(matching_type(), Qt::CaseInsensitive) == 0;
}

// A choice question with several right answers of which one is chosen, any
// of them earning full credit (GIFT's {=10 =20 ~4095}, a Moodle one-answer
// question with several answers at 100%).
inline QString any_one_right_type()
{
    return QStringLiteral("ANY_ONE_RIGHT");
}

inline bool is_any_one_right(const question_record &record)
{
    return record.question_type.compare(any_one_right_type(), Qt::CaseInsensitive) == 0;
}

// The credit of answer k in percent when the record carries no weights: a
// typed question accepts every answer; a choice's right answer is full
// credit, a wrong one none, and where several are to be chosen together each
// right one earns its share and a wrong one takes it all back.
double default_weight(const question_record &record, size_t k);

// The credit of answer k in percent: its own weight, or the default.
inline double answer_weight(const question_record &record, size_t k)
{
    return record.weighted ? record.weights[k] : default_weight(record, k);
}

// Full credit, also when written as 99.999...
constexpr double full_credit = 99.99;

// The number of right answers (with text).
int right_count(const question_record &record);

// Whether the student chooses one answer: a choice with one right answer (or
// any one of several) worth full credit. The exchange formats write it as a
// question of one answer.
bool one_to_choose(const question_record &record);

// Clears weighted when every weight equals its default, so that a bank file
// which states only what the default says reads and writes as before.
void drop_default_weights(question_record &record);
