#include "history/history_schema.h"

#include "history/sql_failure.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <array>

namespace {

// Times are milliseconds since 1970 UTC.
const std::array<QStringList, history_schema_version> steps = {
    // 1: attempts and their answers.
    QStringList{
        "CREATE TABLE attempts (id INTEGER PRIMARY KEY, bank_title TEXT NOT NULL, bank_hash TEXT NOT NULL,"
        " quiz INTEGER NOT NULL, mode TEXT NOT NULL, options TEXT NOT NULL, started_at INTEGER NOT NULL,"
        " ended_at INTEGER NOT NULL, asked INTEGER NOT NULL, right_count INTEGER NOT NULL)",
        "CREATE TABLE answers (attempt_id INTEGER NOT NULL, position INTEGER NOT NULL,"
        " question_id INTEGER NOT NULL, question_hash TEXT NOT NULL, given TEXT NOT NULL,"
        " is_right INTEGER NOT NULL, PRIMARY KEY (attempt_id, position)) WITHOUT ROWID",
    },
    // 2: topic and time spent per answer, the review schedule (started with
    // the questions whose last answer was wrong), attempts found by bank.
    QStringList{
        "ALTER TABLE answers ADD COLUMN topic TEXT NOT NULL DEFAULT ''",
        "ALTER TABLE answers ADD COLUMN time_ms INTEGER NOT NULL DEFAULT 0",
        "CREATE TABLE review (bank_title TEXT NOT NULL, question_id INTEGER NOT NULL,"
        " question_hash TEXT NOT NULL, step INTEGER NOT NULL, due_at INTEGER NOT NULL,"
        " PRIMARY KEY (bank_title, question_id, question_hash)) WITHOUT ROWID",
        // SQLite takes the bare is_right from the row holding MAX(ended_at).
        "INSERT INTO review SELECT bank_title, question_id, question_hash, 0, last_at + 86400000 FROM"
        " (SELECT t.bank_title, a.question_id, a.question_hash, a.is_right, MAX(t.ended_at) AS last_at"
        "  FROM answers a JOIN attempts t ON t.id = a.attempt_id"
        "  GROUP BY t.bank_title, a.question_id, a.question_hash)"
        " WHERE is_right = 0",
        "CREATE INDEX attempts_by_bank ON attempts (bank_title, ended_at)",
    },
    // 3: right and asked per attempt and topic, kept as attempts are saved:
    // counting them from the answers took 300 ms for ten years of attempts.
    QStringList{
        "CREATE TABLE attempt_topics (attempt_id INTEGER NOT NULL, topic TEXT NOT NULL, asked INTEGER NOT NULL,"
        " right_count INTEGER NOT NULL, PRIMARY KEY (attempt_id, topic)) WITHOUT ROWID",
        "INSERT INTO attempt_topics SELECT attempt_id, topic, COUNT(*), SUM(is_right) FROM answers"
        " GROUP BY attempt_id, topic",
    },
    // 4: the same summed per bank and topic over all attempts: the results
    // window reads a row per topic instead of one per attempt and topic.
    QStringList{
        "CREATE TABLE topic_totals (bank_title TEXT NOT NULL, topic TEXT NOT NULL, asked INTEGER NOT NULL,"
        " right_count INTEGER NOT NULL, PRIMARY KEY (bank_title, topic)) WITHOUT ROWID",
        "INSERT INTO topic_totals SELECT t.bank_title, a.topic, SUM(a.asked), SUM(a.right_count)"
        " FROM attempts t JOIN attempt_topics a ON a.attempt_id = t.id GROUP BY t.bank_title, a.topic",
    },
};

int query_int(const QSqlDatabase &database, const QString &sql)
{
    QSqlQuery query(database);
    prepare(query, sql);
    run(query);
    return query.next() ? query.value(0).toInt() : 0;
}

constexpr int sqlite_corrupt = 11;

// The version, checked as check_schema_version says.
int known_version(const QSqlDatabase &database)
{
    const int version = query_int(database, QStringLiteral("PRAGMA user_version"));
    // Version 0 is a new, empty file; tables without a version are what an
    // earlier program left when it wrote 0 over a version it did not know.
    const bool damaged = version < 0 ||
                         (version == 0 && query_int(database, QStringLiteral("SELECT COUNT(*) FROM sqlite_master")) > 0);
    if (damaged)
        throw SqlFailure{QSqlError(QStringLiteral("The results file has a layout version (%1) that no version of this "
                                                  "program writes.").arg(version),
                                   {}, QSqlError::UnknownError, QString::number(sqlite_corrupt))};
    if (version > history_schema_version)
        throw SqlFailure{QSqlError(QStringLiteral("The results file was written by a newer version of this program."),
                                   {}, QSqlError::UnknownError)};
    return version;
}

} // namespace

void check_schema_version(const QSqlDatabase &database)
{
    known_version(database);
}

void upgrade_schema(QSqlDatabase &database)
{
    // An upgrade is one BEGIN IMMEDIATE per step and reads the version again
    // inside it: two programs upgrading at once take turns, and the second
    // finds the step done. An up-to-date file takes no lock.
    int version = known_version(database);
    while (version < history_schema_version) {
        run(database, QStringLiteral("BEGIN IMMEDIATE"));
        try {
            version = known_version(database);
            if (version < history_schema_version) {
                for (const QString &statement : steps[size_t(version)])
                    run(database, statement);
                run(database, QStringLiteral("PRAGMA user_version = %1").arg(++version));
            }
            run(database, QStringLiteral("COMMIT"));
        } catch (const SqlFailure &) {
            roll_back(database);
            throw;
        }
    }
}
