#pragma once

#include "bank/question_record.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

// Where the exhibit and diagram files a bank names are found: in its folder
// ("" = the current directory, as for the built-in bank), or, for diagrams,
// among the pictures embedded in the bank file (name -> bytes).
struct BankFiles {
    QString folder;
    QHash<QString, QByteArray> pictures;
};

// The whole question bank and the values that describe the test. Filled by
// the loader chain (bank_loaders.h), or from a bank file, and read-only
// while a quiz is asked.
struct QuestionBank {
    static constexpr int capacity = 1001;  // the built-in bank: indices 0..1000, 0 unused
    // A bank read from a file holds as many records as it has questions (plus
    // the unused 0), up to what the quiz's 16-bit counters can count.
    static constexpr int max_questions = 30000;

    std::vector<question_record> questions = std::vector<question_record>(capacity);
    qint16 total_questions = 0;
    QString test_title;
    QString author_email;
    BankFiles files;

    // Bounds-checked access; throws std::out_of_range outside the records held.
    const question_record &at(int index) const { return questions.at(static_cast<size_t>(index)); }
    question_record &at(int index) { return questions.at(static_cast<size_t>(index)); }

    void clear()
    {
        questions.assign(capacity, question_record());
        total_questions = 0;
        test_title.clear();
        author_email.clear();
        files = BankFiles();
    }
};
