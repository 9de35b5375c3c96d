#pragma once

#include "bank/formats/bank_formats.h"
#include "bank/question_bank.h"

#include <memory>

// A bank file chosen instead of the built-in bank, as the program asks it:
// the bank, or why the file cannot be used.
struct OpenedBank {
    std::shared_ptr<const QuestionBank> bank;  // null when the file cannot be used
    QString error;                             // why not, in a sentence or two for a message box
};

// Reads a bank file in any format the program knows. The bank is named by
// its title, or by the file's name when the format has none; its exhibits
// and diagrams are looked up beside the file. A file with no question to ask
// or more than QuestionBank::max_questions gives an error instead.
OpenedBank open_bank_file(const QString &path);

// The title of the message box that gives OpenedBank::error.
inline const QString bank_message_title = QStringLiteral("Question bank");
OpenedBank bank_from_import(ImportedBank imported, const QString &path);

// The records, title, author and embedded pictures of a bank, ready to be
// written in an exchange format.
ImportedBank exportable_bank(const QuestionBank &bank);
