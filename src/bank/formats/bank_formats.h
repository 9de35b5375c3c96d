// Question banks in the exchange formats of learning platforms (Aiken, GIFT,
// Moodle XML) and in the program's own JSON format: reading and writing.
#pragma once
#include "bank/question_record.h"
#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
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

constexpr qint64 max_bank_file_bytes = 64 * 1024 * 1024;

std::optional<BankFormat> format_from_name(const QString &word);   // "json", "aiken", "gift", "moodle-xml"
BankFormat detect_format(const QString &file_name, const QByteArray &bytes); // by suffix, then by content
ImportedBank import_bank(const QByteArray &bytes, BankFormat format);
// Reads a file (refusing files over max_bank_file_bytes, unreadable ones) and imports it;
// a file that cannot be read or holds no importable question gets a problem at line 0 and no questions.
ImportedBank read_bank_file(const QString &path);
QByteArray export_bank(const ImportedBank &bank, BankFormat format);  // Json, Gift, MoodleXml (Aiken too if simple)
