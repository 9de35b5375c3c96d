#include "history/history_sql.h"

#include "history/review_schedule.h"
#include "history/sql_failure.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

// Times are stored as milliseconds since 1970 UTC.
qint64 stored(const QDateTime &time)
{
    return time.toMSecsSinceEpoch();
}

QDateTime time_at(const QVariant &value)
{
    return QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC);
}

QString mode_name(QuizMode mode)
{
    return mode == QuizMode::exam ? QStringLiteral("exam") : QStringLiteral("practice");
}

// Qt binds a null QString as NULL; the columns want text, even empty.
QString text(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

QuizMode mode_named(const QString &name)
{
    return name == QLatin1String("exam") ? QuizMode::exam : QuizMode::practice;
}

// A read of many rows: forward-only, so Qt keeps no copy of the rows passed.
QSqlQuery select(const QSqlDatabase &database, const QString &sql, const QVariantList &values)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    prepare(query, sql);
    run(query, values);
    return query;
}

// Each question moves along its schedule as of the attempt's end.
void schedule_reviews(const QSqlDatabase &database, const AttemptRecord &attempt)
{
    QSqlQuery read(database), write(database), remove(database);
    const QString key = QStringLiteral(" WHERE bank_title = ? AND question_id = ? AND question_hash = ?");
    prepare(read, QStringLiteral("SELECT step, due_at FROM review") + key);
    prepare(write, QStringLiteral("INSERT OR REPLACE INTO review VALUES (?, ?, ?, ?, ?)"));
    prepare(remove, QStringLiteral("DELETE FROM review") + key);
    for (const AnswerRecord &answer : attempt.answers) {
        const QVariantList identity{text(attempt.bank_title), answer.question_id, text(answer.question_hash)};
        run(read, identity);
        std::optional<ReviewEntry> current;
        if (read.next())
            current = ReviewEntry{read.value(0).toInt(), time_at(read.value(1))};
        read.finish();
        const std::optional<ReviewEntry> next = after_answer(current, answer.right, attempt.ended);
        if (next == current)
            continue;
        if (next)
            run(write, identity + QVariantList{next->step, stored(next->due)});
        else
            run(remove, identity);
    }
}

} // namespace

qint64 insert_attempt(const QSqlDatabase &database, const AttemptRecord &attempt)
{
    QSqlQuery query(database);
    prepare(query, QStringLiteral("INSERT INTO attempts (bank_title, bank_hash, quiz, mode, options, started_at,"
                                  " ended_at, asked, right_count) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    run(query, {text(attempt.bank_title), text(attempt.bank_hash), attempt.quiz, mode_name(attempt.mode), text(attempt.options),
                stored(attempt.started), stored(attempt.ended), attempt.asked, attempt.right});
    const qint64 id = query.lastInsertId().toLongLong();

    prepare(query, QStringLiteral("INSERT INTO answers (attempt_id, position, question_id, question_hash, given,"
                                  " is_right, topic, time_ms) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    int position = 0;
    for (const AnswerRecord &answer : attempt.answers) {
        run(query, {id, ++position, answer.question_id, text(answer.question_hash), text(answer.given),
                    answer.right ? 1 : 0, text(answer.topic), answer.time_ms});
    }
    prepare(query, QStringLiteral("INSERT INTO attempt_topics SELECT attempt_id, topic, COUNT(*), SUM(is_right)"
                                  " FROM answers WHERE attempt_id = ? GROUP BY topic"));
    run(query, {id});
    prepare(query, QStringLiteral("INSERT INTO topic_totals SELECT ?, topic, asked, right_count FROM attempt_topics"
                                  " WHERE attempt_id = ? ON CONFLICT (bank_title, topic) DO UPDATE SET"
                                  " asked = asked + excluded.asked, right_count = right_count + excluded.right_count"));
    run(query, {text(attempt.bank_title), id});
    schedule_reviews(database, attempt);
    return id;
}

std::vector<AttemptSummary> select_attempts(const QSqlDatabase &database, const QString &bank_title)
{
    QSqlQuery query = select(database,
        QStringLiteral("SELECT id, quiz, mode, options, started_at, ended_at, asked, right_count FROM attempts"
                       " WHERE bank_title = ? ORDER BY ended_at DESC, id DESC"), {text(bank_title)});
    std::vector<AttemptSummary> attempts;
    while (query.next()) {
        attempts.push_back({query.value(0).toLongLong(), query.value(1).toInt(), mode_named(query.value(2).toString()),
                            query.value(3).toString(), time_at(query.value(4)), time_at(query.value(5)),
                            query.value(6).toInt(), query.value(7).toInt()});
    }
    return attempts;
}

TopicResults select_topic_results(const QSqlDatabase &database, const QString &bank_title)
{
    TopicResults results;
    const auto read = [](QSqlQuery &&query, std::vector<TopicResult> &into) {
        while (query.next())
            into.push_back({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toInt(), query.value(3).toInt()});
    };
    read(select(database, QStringLiteral("SELECT 0, topic, asked, right_count FROM topic_totals WHERE bank_title = ?"),
                {text(bank_title)}), results.totals);
    read(select(database,
                QStringLiteral("SELECT attempt_id, topic, asked, right_count FROM attempt_topics WHERE attempt_id IN"
                               " (SELECT id FROM attempts WHERE bank_title = ? ORDER BY ended_at DESC, id DESC LIMIT ?)"),
                {text(bank_title), TopicResults::latest_attempts}), results.latest);
    return results;
}

std::vector<DueQuestion> select_due(const QSqlDatabase &database, const QString &bank_title, const QDateTime &now)
{
    QSqlQuery query = select(database,
        QStringLiteral("SELECT question_id, question_hash, step, due_at FROM review"
                       " WHERE bank_title = ? AND due_at <= ? ORDER BY due_at, question_id"), {text(bank_title), stored(now)});
    std::vector<DueQuestion> due;
    while (query.next()) {
        due.push_back({qint16(query.value(0).toInt()), query.value(1).toString(),
                       ReviewEntry{query.value(2).toInt(), time_at(query.value(3))}});
    }
    return due;
}
