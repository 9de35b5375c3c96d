#pragma once

#include "history/attempt_record.h"
#include "history/history_store.h"

#include <QString>
#include <optional>
#include <vector>

struct QuestionBank;

// What the results window and the options window make of the saved attempts.
// Attempts come newest first, as HistoryStore::attempts gives them.

// "Quiz #1".."Quiz #4", or what a quiz of chosen questions is called.
QString quiz_name(int quiz);

// The last and the best score on one quiz, in whole percent.
struct QuizScores {
    int attempts = 0;
    int last_percent = 0;
    int best_percent = 0;
};
QuizScores quiz_scores(const std::vector<AttemptSummary> &attempts, int quiz);
// "last 78%, best 90%"; "" when the quiz was never taken.
QString quiz_scores_text(const QuizScores &scores);

// How one topic went: overall, and its latest attempts against the ones
// before them.
struct TopicTrend {
    QString topic;
    int asked = 0;
    int right = 0;
    std::optional<int> earlier_percent;   // before the recent attempts; none if there were none
    int recent_percent = 0;               // the recent_attempts latest attempts that asked it,
                                          // among the TopicResults::latest_attempts latest

    int percent() const;
};
constexpr int recent_attempts = 5;
// One entry per topic, the weakest of late first (then by name).
std::vector<TopicTrend> topic_trends(const std::vector<AttemptSummary> &attempts, const TopicResults &results);
// "up 12 points", "down 5 points", "steady" (within 2 points), "" with nothing earlier.
QString trend_text(const TopicTrend &trend);

// The bank indices of the due questions the bank still holds as they were
// asked, longest due first: the questions of a "Due for
// review" quiz; empty when none. A question edited since (another hash) has
// started afresh.
std::vector<qint16> due_bank_questions(const std::vector<DueQuestion> &due, const QuestionBank &bank);
