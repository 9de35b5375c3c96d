// What every importer returns and every exporter takes: the questions of one
// bank file with its embedded pictures and the problems found.
#pragma once

#include "bank/question_record.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

enum class BankFormat { Json, Aiken, Gift, MoodleXml };

struct BankProblem {
    int line = 0;          // 1-based line in the file, 0 = the whole file
    bool skipped = false;  // true: a question was skipped (an error); false: a warning
    QString message;
};

// What an importer could read from one file.
struct ImportedBank {
    QString title;   // "" when the format has none
    QString author;  // ""  when the format has none
    std::vector<question_record> questions;  // in file order
    std::vector<int> question_lines;         // line where each question starts, same size
    QHash<QString, QByteArray> pictures;     // embedded files by name; a record's diagrams name them
    std::vector<BankProblem> problems;
};
