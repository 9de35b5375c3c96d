#pragma once

#include "bank/formats/imported_bank.h"

#include <QStringList>

// What the importers share: one question as a format states it, turned into
// a record with the same rules for every format, and the problems listed.

struct DraftAnswer {
    QString text;
    double fraction = 0;  // credit in percent, as the formats give it
    QString feedback;
    double tolerance = 0;  // a numerical answer's
    QString match = {};    // a matching pair's meaning; text is its stem, "" for a distractor
};

struct DraftQuestion {
    int line = 0;
    question_record record;  // text, explanation, topic and the like; answers come from below
    std::vector<DraftAnswer> answers;
    QStringList diagrams;    // names in ImportedBank::pictures or files beside the bank
    bool typed = false;      // typed answers, matched in order: each earns its own credit
    bool one_right = false;  // a choice with one right answer: only full credit counts
    bool numerical = false;  // typed, the answers values with their tolerances
    bool matching = false;   // the answers are stems paired with their meanings
};

// A problem at that line (skipped: the question was left out). After a
// thousand, one last problem says how many more there were.
void report(ImportedBank &bank, int line, bool skipped, const QString &message);

// Turns the draft into a record with each answer's weight and feedback and
// adds it, or reports why not: more than max_answers or fewer than two answers, no
// right answer.
void add_question(ImportedBank &bank, DraftQuestion draft);

// Adds a complete record when it can be asked: question text, two answers
// or more with a right one (one answer of full credit for a typed question,
// a lab for a lab question). Its texts are cleaned of characters no format
// can carry, its weights kept from -100 to 100 and dropped when they only say
// what the default says.
void add_record(ImportedBank &bank, question_record record, int line);

// Keeps an embedded picture; returns the name it is kept under, made
// unique when another picture already has that name.
QString add_picture(ImportedBank &bank, const QString &name, const QByteArray &bytes);

// The type of a typed-answer record written by the importers.
inline QString typed_question_type()
{
    return QStringLiteral("FILL_IN");
}

// The topic of a category path: "$course$/top/Switching/VLANs" is
// "Switching/VLANs" (the platform's own context and "top" dropped); "//" in
// a path is one "/" of a name.
QString category_topic(const QString &path);

// The reverse for the exporters: one line, each "/" of the topic doubled.
QString category_path(const QString &topic);
