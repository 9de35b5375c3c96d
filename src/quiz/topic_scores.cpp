#include "quiz/topic_scores.h"

#include <algorithm>
#include <map>

int TopicScore::percent() const
{
    return percent_right(right, asked);
}

std::vector<TopicScore> score_by_topic(const std::vector<LoggedAnswer> &answers)
{
    std::map<QString, TopicScore> by_topic;
    for (const LoggedAnswer &answer : answers) {
        const QString topic = answer.shown.topic.trimmed().isEmpty() ? QStringLiteral("General")
                                                                     : answer.shown.topic.trimmed();
        TopicScore &score = by_topic[topic];
        score.topic = topic;
        ++score.asked;
        score.right += answer.right ? 1 : 0;
    }
    std::vector<TopicScore> scores;
    for (auto &entry : by_topic)
        scores.push_back(entry.second);
    // Shares compared exactly: a/b < c/d as a*d < c*b.
    std::stable_sort(scores.begin(), scores.end(), [](const TopicScore &a, const TopicScore &b) {
        const long long left = (long long)a.right * b.asked, right = (long long)b.right * a.asked;
        return left != right ? left < right : a.asked > b.asked;
    });
    return scores;
}

QString topic_advice(const std::vector<TopicScore> &scores)
{
    if (scores.empty())
        return {};
    const TopicScore &weakest = scores.front();
    if (weakest.asked < advice_min_asked || weakest.right == weakest.asked)
        return {};
    return QStringLiteral("Weakest topic: %1 (%2/%3 right). Study it before your next attempt.")
        .arg(weakest.topic)
        .arg(weakest.right)
        .arg(weakest.asked);
}
