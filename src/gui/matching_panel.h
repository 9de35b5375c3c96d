#pragma once

#include "gui/answer_area.h"
#include "quiz/matching_marking.h"

#include <vector>

class QComboBox;
class QLabel;

// The answer of a matching question: each stem beside a list of the
// meanings to give it, in rows that scroll over the place of the window's
// answer rows. A list is named with its stem for a screen reader, and its
// first entry gives nothing.
class MatchingPanel : public AnswerArea
{
public:
    MatchingPanel(QWidget &window, const QRect &rows_area);

    // Shows the record's stems, none given a meaning, from the top, in font.
    void show_question(const question_record &record, const QFont &font);
    MatchingAnswer matched() const;
    void set_matched(const MatchingAnswer &matched);
    // The first stem's list, which takes the focus as the question appears.
    QComboBox *first_list() const { return lists_.empty() ? nullptr : lists_.front(); }

private:
    // The list's accessible description is the meaning given; now says it at once.
    void tell_choice(QComboBox &list, bool now);

    QLabel *notice_ = nullptr;
    std::vector<QComboBox *> lists_;
    std::vector<int> offer_;  // the meaning slot of each list entry after the first
};
