#pragma once

#include "bank/question_record.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// One question object of the bank's JSON format (see the README), shared by
// the built-in bank's loaders and the JSON importer and exporter.

// The type of a choice question when the object names none.
inline QString default_question_type()
{
    return QStringLiteral("single_answer");
}

// Fills record from json; returns "" when it could, else why the object was
// refused (no question text, more than max_answers answers, a right answer that
// names no answer or is not a number, diagram descriptions that are not a
// list of texts, answer weights that are not one number per answer, a lab
// question whose "lab" object is missing or flawed, a matching question
// without a text of "matches" for each answer). What was left out is added
// to warnings when given: a field of the wrong type, a fourth diagram or
// exhibit, "matches" on a question of another kind. A list field given as one
// text is read as a list of one.
QString read_question_json(const QJsonObject &json, question_record &record, QStringList *warnings = nullptr);

// The record as a JSON object, without "id"; optional fields only when set.
QJsonObject write_question_json(const question_record &record);
