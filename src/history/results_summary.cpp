#include "history/results_summary.h"

#include "quiz/marking.h"
#include "bank/question_bank.h"
#include "history/question_identity.h"

#include <QHash>
#include <algorithm>

QString quiz_name(int quiz)
{
    if (quiz == AttemptRecord::due_questions)
        return QStringLiteral("Due for review");
    return quiz == AttemptRecord::chosen_questions ? QStringLiteral("Chosen questions") : QStringLiteral("Quiz #%1").arg(quiz);
}

QuizScores quiz_scores(const std::vector<AttemptSummary> &attempts, int quiz)
{
    QuizScores scores;
    for (const AttemptSummary &attempt : attempts) {
        if (attempt.quiz != quiz)
            continue;
        const int percent = percent_right(attempt.right, attempt.asked);
        if (scores.attempts++ == 0)
            scores.last_percent = percent;
        scores.best_percent = std::max(scores.best_percent, percent);
    }
    return scores;
}

QString quiz_scores_text(const QuizScores &scores)
{
    if (scores.attempts == 0)
        return {};
    return QStringLiteral("last %1%, best %2%").arg(scores.last_percent).arg(scores.best_percent);
}

int TopicTrend::percent() const
{
    return percent_right(right, asked);
}

std::vector<TopicTrend> topic_trends(const std::vector<AttemptSummary> &attempts, const TopicResults &results)
{
    QHash<qint64, size_t> age;   // attempt id -> 0 for the newest
    for (size_t n = 0; n < attempts.size(); ++n)
        age.insert(attempts[n].id, n);
    std::vector<TopicResult> newest_first = results.latest;
    std::stable_sort(newest_first.begin(), newest_first.end(), [&](const TopicResult &a, const TopicResult &b) {
        return age.value(a.attempt_id) < age.value(b.attempt_id);
    });

    struct Tally {
        int attempts = 0, recent_asked = 0, recent_right = 0, asked = 0, right = 0;
    };
    QHash<QString, Tally> tallies;
    for (const TopicResult &total : results.totals) {
        tallies[total.topic].asked += total.asked;
        tallies[total.topic].right += total.right;
    }
    for (const TopicResult &result : newest_first) {
        Tally &tally = tallies[result.topic];
        if (tally.attempts++ < recent_attempts) {
            tally.recent_asked += result.asked;
            tally.recent_right += result.right;
        }
    }

    std::vector<TopicTrend> trends;
    for (auto it = tallies.cbegin(); it != tallies.cend(); ++it) {
        const Tally &t = it.value();
        // A topic not asked of late shows its overall score and no trend.
        const bool of_late = t.recent_asked > 0;
        TopicTrend trend{it.key(), t.asked, t.right, std::nullopt,
                         of_late ? percent_right(t.recent_right, t.recent_asked) : percent_right(t.right, t.asked)};
        if (of_late && t.asked > t.recent_asked)
            trend.earlier_percent = percent_right(t.right - t.recent_right, t.asked - t.recent_asked);
        trends.push_back(trend);
    }
    std::sort(trends.begin(), trends.end(), [](const TopicTrend &a, const TopicTrend &b) {
        return a.recent_percent != b.recent_percent ? a.recent_percent < b.recent_percent : a.topic < b.topic;
    });
    return trends;
}

QString trend_text(const TopicTrend &trend)
{
    if (!trend.earlier_percent)
        return {};
    const int change = trend.recent_percent - *trend.earlier_percent;
    if (std::abs(change) <= 2)
        return QStringLiteral("steady");
    return QStringLiteral("%1 %2 points").arg(change > 0 ? QStringLiteral("up") : QStringLiteral("down")).arg(std::abs(change));
}

std::vector<qint16> due_bank_questions(const std::vector<DueQuestion> &due, const QuestionBank &bank)
{
    std::vector<qint16> questions;
    for (const DueQuestion &question : due) {
        if (question.question_id >= 1 && question.question_id <= bank.total_questions
            && question_hash(bank.at(question.question_id)) == question.question_hash)
            questions.push_back(question.question_id);
    }
    return questions;
}
