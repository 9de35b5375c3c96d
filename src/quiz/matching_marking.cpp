#include "quiz/matching_marking.h"

#include <algorithm>

int matching_stems(const question_record &record)
{
    int stems = 0;
    while (stems < int(max_answers) && !record.answers[size_t(stems + 1)].isEmpty())
        ++stems;
    return stems;
}

std::vector<int> matching_offer(const question_record &record)
{
    std::vector<int> offer;
    for (size_t k = 1; k <= max_answers; ++k) {
        const QString &meaning = record.matches[k];
        const bool seen = std::any_of(offer.begin(), offer.end(),
                                      [&](int slot) { return record.matches[size_t(slot + 1)] == meaning; });
        if (!meaning.isEmpty() && !seen)
            offer.push_back(int(k) - 1);
    }
    std::stable_sort(offer.begin(), offer.end(), [&record](int a, int b) {
        return record.matches[size_t(a + 1)].compare(record.matches[size_t(b + 1)], Qt::CaseInsensitive) < 0;
    });
    return offer;
}

QString meaning_given(const question_record &record, const MatchingAnswer &matched, int stem)
{
    const int slot = stem >= 0 && stem < int(matched.size()) ? matched[size_t(stem)] : -1;
    return slot >= 0 && slot < int(max_answers) ? record.matches[size_t(slot + 1)] : QString();
}

int right_pairs(const question_record &record, const MatchingAnswer &matched)
{
    int right = 0;
    for (int stem = 0; stem < matching_stems(record); ++stem) {
        const QString given = meaning_given(record, matched, stem);
        right += !given.isEmpty() && given == record.matches[size_t(stem + 1)];
    }
    return right;
}

bool matching_is_right(const question_record &record, const MatchingAnswer &matched)
{
    return matching_stems(record) > 0 && right_pairs(record, matched) == matching_stems(record);
}

double matching_credit(const question_record &record, const MatchingAnswer &matched)
{
    const int stems = matching_stems(record);
    return stems > 0 ? 100.0 * right_pairs(record, matched) / stems : 0;
}
