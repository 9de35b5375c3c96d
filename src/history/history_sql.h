#pragma once

#include "history/attempt_record.h"
#include "history/review_schedule.h"

#include <vector>

class QSqlDatabase;

// The statements behind HistoryStore, on an open, up-to-date results file.
// Each throws SqlFailure (sql_failure.h); the caller holds the transaction.

// Inserts the attempt and its answers and moves each answered question along
// the review schedule as of the attempt's end. Returns the attempt's id.
qint64 insert_attempt(const QSqlDatabase &database, const AttemptRecord &attempt);

std::vector<AttemptSummary> select_attempts(const QSqlDatabase &database, const QString &bank_title);
TopicResults select_topic_results(const QSqlDatabase &database, const QString &bank_title);
std::vector<DueQuestion> select_due(const QSqlDatabase &database, const QString &bank_title, const QDateTime &now);
