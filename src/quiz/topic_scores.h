#pragma once

#include "quiz/answer_log.h"

#include <QString>
#include <vector>

// Right answers per topic, for the score by topic after a quiz.
struct TopicScore {
    QString topic;
    int right = 0;
    int asked = 0;

    int percent() const;
};

// One entry per topic asked, weakest first: the lowest share right, then the
// topic asked most, then by name. Questions without a topic count as
// "General".
std::vector<TopicScore> score_by_topic(const std::vector<LoggedAnswer> &answers);

// A line of advice naming the weakest topic, when at least
// advice_min_asked of its questions were asked and one of them was missed;
// otherwise "".
constexpr int advice_min_asked = 3;
QString topic_advice(const std::vector<TopicScore> &scores);
