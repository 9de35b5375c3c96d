#pragma once

#include <QString>

struct QuestionBank;
struct question_record;

// A question is known again by the hash of what it asks (text, answers, which
// are right, its kind and attachments): an edited question hashes differently
// and starts afresh in the history. Its explanation, clue and topic are not
// part of it, so mending those keeps the history.
QString question_hash(const question_record &record);

// The hash of the whole bank's content (title, questions 1..total_questions
// with every field), so that attempts say which version of a bank they used.
QString bank_hash(const QuestionBank &bank);
