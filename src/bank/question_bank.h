#pragma once

#include "question_record.h"

#include <QString>
#include <vector>

// The whole question bank and the values that describe the test. Filled once
// per start by the loader chain (bank_loaders.h) and read-only afterwards.
struct QuestionBank {
    static constexpr int capacity = 1001;  // indices 0..1000, 0 unused

    std::vector<question_record> questions = std::vector<question_record>(capacity);
    qint16 total_questions = 0;
    QString test_title;
    QString author_email;

    // Bounds-checked access; throws std::out_of_range outside 0..1000.
    const question_record &at(int index) const { return questions.at(static_cast<size_t>(index)); }
    question_record &at(int index) { return questions.at(static_cast<size_t>(index)); }

    void clear()
    {
        for (question_record &record : questions)
            record = question_record();
        total_questions = 0;
        test_title.clear();
        author_email.clear();
    }
};
