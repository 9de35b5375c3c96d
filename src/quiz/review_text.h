#pragma once

#include "quiz/answer_log.h"

#include <QString>
#include <vector>

// Texts of the review window, free of widgets.

enum class ReviewFilter { all, wrong, right };

// "Right", "Wrong" or "Unanswered": the word that goes with the mark.
QString verdict_word(const LoggedAnswer &answer);

// The log positions (0-based, asking order) the filter lets through; an
// unanswered question counts as wrong.
std::vector<int> filtered_positions(const std::vector<LoggedAnswer> &answers, ReviewFilter filter);

// One line of the question list: "12. Wrong - VLANs: Which command ...".
QString review_row_text(int position, const LoggedAnswer &answer);

// The selected question in rich text: the question, every answer lettered as
// shown with the student's choice and the right answers marked in words (or
// the typed answer beside the accepted ones), per-answer feedback, the
// explanation and the answer note. Colours are left to the palette.
QString review_detail_html(int position, const LoggedAnswer &answer);

// "1:05" for 65 seconds.
QString minutes_seconds(qint64 milliseconds);
