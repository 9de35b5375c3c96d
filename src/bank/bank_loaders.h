#pragma once

#include <QString>

struct QuestionBank;

// The bank is filled by a chain of five loaders, each reading one embedded
// data file (":/bank/questions-N.json") for its range of bank indices and
// then calling the next:
//   1: 1..49 and test_title, 2: 50..99, 3: 100..149, 4: 150..199,
//   5: 200..204, author_email and total_questions.
// fill_question_bank() starts the chain on an emptied bank.
void fill_question_bank(QuestionBank &bank);

void load_questions_1(QuestionBank &bank);
void load_questions_2(QuestionBank &bank);
void load_questions_3(QuestionBank &bank);
void load_questions_4(QuestionBank &bank);
void load_questions_5(QuestionBank &bank);

// Reads one data file in the bank's JSON format into bank indices
// first..last and returns how many records it filled. Records outside that
// range, or malformed, are skipped with a warning; a missing or unreadable
// file fills nothing. Exposed for tests with data of their own.
int load_question_file(QuestionBank &bank, const QString &path, int first, int last);
