#include "history/history_store.h"

#include "history/history_schema.h"
#include "history/history_sql.h"
#include "history/sql_failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <utility>

namespace {

// SQLite's primary result codes that the store acts on.
constexpr int sqlite_busy = 5, sqlite_locked = 6, sqlite_corrupt = 11, sqlite_notadb = 26;

// Another program holding the file gets 5 s per try (busy_timeout), three times.
constexpr int busy_timeout_ms = 5000;
constexpr int tries_when_busy = 3;

int next_connection = 0;

bool is_damage(const SqlFailure &failure)
{
    return failure.code() == sqlite_corrupt || failure.code() == sqlite_notadb;
}

bool is_busy(const SqlFailure &failure)
{
    return failure.code() == sqlite_busy || failure.code() == sqlite_locked;
}

} // namespace

HistoryStore::HistoryStore(QString path)
    : path_(std::move(path)), connection_(QStringLiteral("history-%1").arg(++next_connection))
{
}

HistoryStore::~HistoryStore()
{
    close();
}

QString HistoryStore::default_path()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/history.sqlite");
}

bool HistoryStore::is_on() const
{
    return QFileInfo(path_).isFile();
}

bool HistoryStore::turn_on()
{
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        add_notice(QStringLiteral("Your results cannot be kept: the folder %1 cannot be made.")
                       .arg(QDir::toNativeSeparators(QFileInfo(path_).absolutePath())));
        return false;
    }
    try {
        open();
        return true;
    } catch (const SqlFailure &failure) {
        close();
        add_notice(QStringLiteral("Your results cannot be kept: %1.").arg(failure.error.text()));
        return false;
    }
}

bool HistoryStore::turn_off()
{
    close();
    QFile::remove(path_ + QStringLiteral("-wal"));
    QFile::remove(path_ + QStringLiteral("-shm"));
    return !is_on() || QFile::remove(path_);
}

std::optional<qint64> HistoryStore::save(const AttemptRecord &attempt)
{
    std::optional<qint64> id;
    with_database(QStringLiteral("saved"), [&](QSqlDatabase &database) {
        run(database, QStringLiteral("BEGIN IMMEDIATE"));
        try {
            const qint64 new_id = insert_attempt(database, attempt);
            run(database, QStringLiteral("COMMIT"));
            id = new_id;
        } catch (const SqlFailure &) {
            roll_back(database);
            throw;
        }
    });
    return id;
}

std::vector<AttemptSummary> HistoryStore::attempts(const QString &bank_title)
{
    std::vector<AttemptSummary> found;
    with_database(QStringLiteral("read"), [&](QSqlDatabase &database) { found = select_attempts(database, bank_title); });
    return found;
}

TopicResults HistoryStore::topic_results(const QString &bank_title)
{
    TopicResults found;
    with_database(QStringLiteral("read"), [&](QSqlDatabase &database) { found = select_topic_results(database, bank_title); });
    return found;
}

std::vector<DueQuestion> HistoryStore::due_questions(const QString &bank_title, const QDateTime &now)
{
    std::vector<DueQuestion> found;
    with_database(QStringLiteral("read"), [&](QSqlDatabase &database) { found = select_due(database, bank_title, now); });
    return found;
}

QString HistoryStore::take_notice()
{
    return std::exchange(notice_, QString());
}

// Runs work on the open file, with history on. A damaged file is moved aside
// once and the work done again on a fresh one; a busy file is tried again.
template<typename Work>
bool HistoryStore::with_database(const QString &doing, Work work)
{
    if (!is_on())
        return false;
    bool moved_aside = false;
    for (int attempt = 1;; ++attempt) {
        try {
            work(open());
            return true;
        } catch (const SqlFailure &failure) {
            close();
            if (is_damage(failure) && !moved_aside) {
                move_aside();
                moved_aside = true;
                continue;
            }
            if (is_busy(failure) && attempt < tries_when_busy)
                continue;
            if (!failure_told_)
                add_notice(QStringLiteral("Your results could not be %1: %2.").arg(doing, failure.error.text()));
            failure_told_ = true;
            return false;
        }
    }
}

QSqlDatabase &HistoryStore::open()
{
    if (database_.isOpen())
        return database_;
    database_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    database_.setDatabaseName(path_);
    database_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busy_timeout_ms));
    if (!database_.open())
        throw SqlFailure{database_.lastError()};
    // WAL: a reader never waits for a writer, and a commit is one append.
    run(database_, QStringLiteral("PRAGMA journal_mode = WAL"));
    upgrade_schema(database_);
    return database_;
}

void HistoryStore::close()
{
    if (!database_.isValid())
        return;
    database_.close();
    database_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

// The damaged file is kept beside the new one for whoever wants to look at it.
void HistoryStore::move_aside()
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString aside = path_ + QStringLiteral(".corrupt-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path_ + QStringLiteral(".corrupt-%1-%2").arg(stamp).arg(n);
    QFile::rename(path_, aside);
    QFile::rename(path_ + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(path_ + QStringLiteral("-shm"));
    add_notice(QStringLiteral("Your results file was damaged. It was kept as %1 and a new one was started.")
                   .arg(QDir::toNativeSeparators(aside)));
}

void HistoryStore::add_notice(const QString &text)
{
    notice_ += (notice_.isEmpty() ? QString() : QStringLiteral("\n")) + text;
}
