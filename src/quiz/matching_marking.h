#pragma once

#include "bank/question_record.h"

#include <vector>

// Marking of matching questions. Each stem (answers[1..]) is given one of
// the meanings (matches[1..]: the stems' own, then the distractors); a pair
// is right when the meaning given reads as the stem's own, so that two stems
// of the same meaning take either.

// For each stem in screen order, the zero-based slot of the meaning given
// (matches[slot + 1]), -1 when none.
using MatchingAnswer = std::vector<int>;

// How many stems the question has.
int matching_stems(const question_record &record);

// The meanings offered to each stem: zero-based slots, one per distinct
// text, in alphabetical order, so that the order gives no pair away.
std::vector<int> matching_offer(const question_record &record);

// The meaning given to a stem (zero-based), "" when none.
QString meaning_given(const question_record &record, const MatchingAnswer &matched, int stem);

// How many stems the answer pairs rightly.
int right_pairs(const question_record &record, const MatchingAnswer &matched);

// Right when every stem is paired rightly.
bool matching_is_right(const question_record &record, const MatchingAnswer &matched);

// The learning platforms' credit: the share of stems paired rightly, in percent.
double matching_credit(const question_record &record, const MatchingAnswer &matched);
