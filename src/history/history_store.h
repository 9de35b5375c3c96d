#pragma once

#include "history/attempt_record.h"
#include "history/review_schedule.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <vector>

// The student's results file (SQLite through Qt Sql). The file's existence is
// the setting: with no file, history is off and nothing is read or written.
// The file is opened on first use, never before, and stays open.
//
// Faults never reach the caller as exceptions and never stop a quiz: a
// damaged file is moved aside and a fresh one started (or, when it cannot be
// moved, left alone and nothing kept); a file of a newer program is left
// untouched; a file that cannot be written (read-only folder, full disk)
// makes the call fail, though it is still read. Either way
// take_notice() then has one sentence for the student; a failure to write is
// told only once per run.
class HistoryStore
{
public:
    explicit HistoryStore(QString path);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    // history.sqlite in the program's data folder, lan_switching_quiz in
    // QStandardPaths::GenericDataLocation (~/.local/share), whatever the
    // program's file is called.
    static QString default_path();
    const QString &path() const { return path_; }

    bool is_on() const;
    // Creates the folder and the file; false when it cannot (see take_notice).
    bool turn_on();
    // Closes and deletes the file; false when it cannot be deleted.
    bool turn_off();

    // Saves one attempt and moves its questions along the review schedule, all
    // in one transaction; waits a while for another program saving at the
    // same time. An attempt that could not be saved is kept in memory and
    // saved with the next one, or when the store is destroyed. The attempt's
    // id, or nullopt when history is off or saving failed.
    std::optional<qint64> save(const AttemptRecord &attempt);

    // The attempts on the bank of that title, newest first.
    std::vector<AttemptSummary> attempts(const QString &bank_title);
    // Right and asked per topic for the bank of that title.
    TopicResults topic_results(const QString &bank_title);
    // The questions of that bank due for review at now, the longest due first.
    std::vector<DueQuestion> due_questions(const QString &bank_title, const QDateTime &now);

    // What the student should be told, once: "" when nothing happened since.
    QString take_notice();

private:
    template<typename Work> bool with_database(const QString &doing, int tries, Work work);
    qint64 save_pending(QSqlDatabase &database);
    QSqlDatabase &open();
    void close();
    bool move_aside();
    void add_notice(const QString &text);

    QString path_;
    QString connection_;
    QSqlDatabase database_;
    QString notice_;
    bool failure_told_ = false;
    bool busy_ = false;                   // the last failure was another program's lock
    std::vector<AttemptRecord> pending_;  // attempts not saved yet, oldest first
};
