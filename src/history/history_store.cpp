#include "history/history_store.h"

#include "history/history_schema.h"
#include "history/history_sql.h"
#include "history/sql_failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <utility>

namespace {

// SQLite's primary result codes that the store acts on.
constexpr int sqlite_busy = 5, sqlite_locked = 6, sqlite_corrupt = 11, sqlite_notadb = 26;

// Another program holding the file gets 5 s per try (busy_timeout): three
// tries to read; one to save, as an attempt not saved is kept for later.
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

// SQLite's texts end with a full stop or not; a notice ends with one.
QString sentence(QString text)
{
    text = text.trimmed();
    return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}

// The folder's files cannot be made or renamed: SQLite cannot make the
// shared-memory file that reading a WAL file needs.
bool in_read_only_folder(const QString &path)
{
    return !QFileInfo(QFileInfo(path).absolutePath()).isWritable();
}

} // namespace

HistoryStore::HistoryStore(QString path)
    : path_(std::move(path)), connection_(QStringLiteral("history-%1").arg(++next_connection))
{
}

HistoryStore::~HistoryStore()
{
    // A last try for attempts a busy file kept out.
    if (!pending_.empty())
        with_database(QStringLiteral("saved"), 1, [&](QSqlDatabase &database) { save_pending(database); });
    close();
}

QString HistoryStore::default_path()
{
    // Named here rather than after the program's file, so that the results
    // stay in one place whatever name the program was started under.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/lan_switching_quiz/history.sqlite");
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
        add_notice(QStringLiteral("Your results cannot be kept: %1").arg(sentence(failure.error.text())));
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
    if (!is_on())
        return std::nullopt;
    // Attempts a busy file kept out go first, in the order they ended.
    pending_.push_back(attempt);
    std::optional<qint64> id;
    const bool saved = with_database(QStringLiteral("saved"), 1, [&](QSqlDatabase &database) { id = save_pending(database); });
    if (!saved && !pending_.empty() && busy_)
        add_notice(QStringLiteral("Another program is writing your results file, so this result was not saved yet. It is "
                                  "kept and saved with your next one, or when the program ends."));
    return id;
}

qint64 HistoryStore::save_pending(QSqlDatabase &database)
{
    run(database, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        qint64 id = 0;
        for (const AttemptRecord &attempt : pending_)
            id = insert_attempt(database, attempt);
        run(database, QStringLiteral("COMMIT"));
        pending_.clear();
        return id;
    } catch (const SqlFailure &) {
        roll_back(database);
        throw;
    }
}

std::vector<AttemptSummary> HistoryStore::attempts(const QString &bank_title)
{
    std::vector<AttemptSummary> found;
    with_database(QStringLiteral("read"), tries_when_busy, [&](QSqlDatabase &database) { found = select_attempts(database, bank_title); });
    return found;
}

TopicResults HistoryStore::topic_results(const QString &bank_title)
{
    TopicResults found;
    with_database(QStringLiteral("read"), tries_when_busy, [&](QSqlDatabase &database) { found = select_topic_results(database, bank_title); });
    return found;
}

std::vector<DueQuestion> HistoryStore::due_questions(const QString &bank_title, const QDateTime &now)
{
    std::vector<DueQuestion> found;
    with_database(QStringLiteral("read"), tries_when_busy, [&](QSqlDatabase &database) { found = select_due(database, bank_title, now); });
    return found;
}

QString HistoryStore::take_notice()
{
    return std::exchange(notice_, QString());
}

// Runs work on the open file, with history on. A damaged file is moved aside
// once and the work done again on a fresh one; a busy file is tried again.
template<typename Work>
bool HistoryStore::with_database(const QString &doing, int tries, Work work)
{
    if (!is_on())
        return false;
    bool moved_aside = false;
    busy_ = false;
    for (int attempt = 1;; ++attempt) {
        try {
            work(open());
            return true;
        } catch (const SqlFailure &failure) {
            close();
            if (is_damage(failure) && !moved_aside && !failure_told_) {
                moved_aside = move_aside();
                if (moved_aside)
                    continue;
                failure_told_ = true;
                return false;
            }
            busy_ = is_busy(failure);
            if (busy_ && attempt < tries)
                continue;
            if (!failure_told_ && !busy_)
                add_notice(QStringLiteral("Your results could not be %1: %2").arg(doing, sentence(failure.error.text())));
            failure_told_ = failure_told_ || !busy_;
            return false;
        }
    }
}

QSqlDatabase &HistoryStore::open()
{
    if (database_.isOpen())
        return database_;
    database_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busy_timeout_ms);
    // A whole file (no WAL beside it) in a read-only folder is read as it
    // stands, as SQLite cannot make the files WAL reading needs there.
    const bool read_only = in_read_only_folder(path_) && !QFileInfo::exists(path_ + QStringLiteral("-wal"));
    if (read_only) {
        options += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
        database_.setDatabaseName(QString::fromUtf8(QUrl::fromLocalFile(path_).toEncoded()) + QStringLiteral("?immutable=1"));
    } else {
        database_.setDatabaseName(path_);
    }
    database_.setConnectOptions(options);
    if (!database_.open())
        throw SqlFailure{database_.lastError()};
    // Before anything is written: a newer program's file is left as it is.
    check_schema_version(database_);
    // WAL: a reader never waits for a writer, and a commit is one append.
    if (!read_only)
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

// The damaged file is kept beside the new one for whoever wants to look at
// it; false, with a notice, when it cannot be moved (a read-only folder).
bool HistoryStore::move_aside()
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString aside = path_ + QStringLiteral(".corrupt-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path_ + QStringLiteral(".corrupt-%1-%2").arg(stamp).arg(n);
    QFile file(path_);
    if (!file.rename(aside)) {
        add_notice(QStringLiteral("Your results file %1 is damaged and cannot be moved aside (%2), so your results are "
                                  "not kept. Move or delete it to start a new one.")
                       .arg(QDir::toNativeSeparators(path_), file.errorString()));
        return false;
    }
    QFile::rename(path_ + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(path_ + QStringLiteral("-shm"));
    add_notice(QStringLiteral("Your results file was damaged. It was kept as %1 and a new one was started.")
                   .arg(QDir::toNativeSeparators(aside)));
    return true;
}

void HistoryStore::add_notice(const QString &text)
{
    if (!notice_.split(QLatin1Char('\n')).contains(text))
        notice_ += (notice_.isEmpty() ? QString() : QStringLiteral("\n")) + text;
}
