// The results file without windows: the review schedule, bank and question
// identities, saving and reading attempts, upgrading an older file, and a
// damaged file or a read-only folder.
#include "bank/bank_loaders.h"
#include "harness/history_samples.h"
#include "history/history_schema.h"
#include "history/history_store.h"
#include "bank/question_bank.h"
#include "history/question_identity.h"
#include "history/results_summary.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

const QDateTime day_zero(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);

QDateTime day(double days)
{
    return day_zero.addMSecs(qint64(days * 86400000));
}

// The questions of bank "Sample bank" due at that time, as "id:step".
QStringList due_at(HistoryStore &store, double days)
{
    QStringList due;
    for (const DueQuestion &question : store.due_questions(QStringLiteral("Sample bank"), day(days)))
        due << QStringLiteral("%1:%2").arg(question.question_id).arg(question.entry.step);
    return due;
}

// An attempt at one question only.
AttemptRecord one_answer(qint16 id, bool right, double days)
{
    AttemptRecord attempt = sample_attempt(0, day(days));
    attempt.answers = {{id, QStringLiteral("q%1").arg(id), QStringLiteral("Topic"), QStringLiteral("A"), right, 500}};
    attempt.asked = 1;
    attempt.right = right ? 1 : 0;
    return attempt;
}

// A folder nothing can be written into, root included (an immutable folder
// for root, who passes file modes by); false when this machine has no way.
bool make_read_only(const QString &folder)
{
    for (const QString &file : QDir(folder).entryList(QDir::Files))
        QFile::setPermissions(folder + "/" + file, QFile::ReadOwner);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (geteuid() == 0)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-R"), QStringLiteral("+i"), folder});
    QFile probe(folder + "/probe");
    return !probe.open(QIODevice::WriteOnly);
}

void make_writable(const QString &folder)
{
    if (geteuid() == 0)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-R"), QStringLiteral("-i"), folder});
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Runs statements on the file through a connection of the test's own.
void run_raw(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", "raw");
        database.setDatabaseName(path);
        QVERIFY(database.open());
        QSqlQuery query(database);
        for (const QString &statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
    }
    QSqlDatabase::removeDatabase("raw");
}

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void schedule_data()
    {
        QTest::addColumn<int>("step");       // -1: not under review
        QTest::addColumn<double>("due");     // days after day zero
        QTest::addColumn<bool>("right");
        QTest::addColumn<double>("at");
        QTest::addColumn<int>("next_step");
        QTest::addColumn<double>("next_due");
        QTest::newRow("a miss starts the schedule") << -1 << 0.0 << false << 0.0 << 0 << 1.0;
        QTest::newRow("right, never missed") << -1 << 0.0 << true << 0.0 << -1 << 0.0;
        QTest::newRow("right before due stays") << 0 << 1.0 << true << 0.5 << 0 << 1.0;
        QTest::newRow("1 day, then 2") << 0 << 1.0 << true << 1.0 << 1 << 3.0;
        QTest::newRow("2 days, then 4") << 1 << 3.0 << true << 3.5 << 2 << 7.5;
        QTest::newRow("4 days, then 8") << 2 << 7.0 << true << 7.0 << 3 << 15.0;
        QTest::newRow("8 days, then 16") << 3 << 15.0 << true << 20.0 << 4 << 36.0;
        QTest::newRow("right at 16 days retires") << 4 << 31.0 << true << 31.0 << -1 << 0.0;
        QTest::newRow("wrong goes back to the start") << 3 << 15.0 << false << 9.0 << 0 << 10.0;
        QTest::newRow("wrong when due too") << 4 << 31.0 << false << 40.0 << 0 << 41.0;
    }
    void schedule()
    {
        QFETCH(int, step);
        QFETCH(double, due);
        QFETCH(bool, right);
        QFETCH(double, at);
        QFETCH(int, next_step);
        QFETCH(double, next_due);
        const auto entry = [](int s, double d) {
            return s < 0 ? std::nullopt : std::optional<ReviewEntry>(ReviewEntry{s, day(d)});
        };
        QCOMPARE(after_answer(entry(step, due), right, day(at)), entry(next_step, next_due));
    }

    void identities_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("question_changes");
        QTest::newRow("question text") << "question" << true;
        QTest::newRow("an answer") << "answer" << true;
        QTest::newRow("which answer is right") << "correct" << true;
        QTest::newRow("explanation") << "explanation" << false;
        QTest::newRow("topic") << "topic" << false;
        QTest::newRow("clue") << "clue" << false;
        QTest::newRow("a seventh answer") << "seventh" << true;
        QTest::newRow("answer weights") << "weights" << true;
        QTest::newRow("case matters") << "case" << true;
        QTest::newRow("a matching question's meaning") << "meaning" << true;
    }
    void identities()
    {
        QFETCH(QString, edit);
        QFETCH(bool, question_changes);
        QuestionBank bank;
        fill_question_bank(bank);
        QuestionBank edited = bank;
        question_record &record = edited.at(7);
        if (edit == "question") record.question += " ";
        if (edit == "answer") record.answers[2] += "s";
        if (edit == "correct") record.correct[1] = qint16(1 - record.correct[1]);
        if (edit == "explanation") record.explanation += ".";
        if (edit == "topic") record.topic = "Other";
        if (edit == "clue") record.clue = "Think.";
        if (edit == "seventh") record.answers[7] = "Seventh";
        if (edit == "weights") { record.weighted = true; record.weights[1] = 50; }
        if (edit == "case") record.case_sensitive = true;
        if (edit == "meaning") {
            bank.at(7).question_type = record.question_type = matching_type();
            record.matches[1] = "Other";
        }

        QCOMPARE(question_hash(edited.at(7)) != question_hash(bank.at(7)), question_changes);
        QVERIFY(bank_hash(edited) != bank_hash(bank));
        QCOMPARE(question_hash(edited.at(8)), question_hash(bank.at(8)));
        QCOMPARE(bank_hash(bank), bank_hash(QuestionBank(bank)));
    }

    // Results files written by earlier versions keep matching the built-in
    // bank: its identities may never change while its questions do not.
    void identities_kept_from_earlier_files()
    {
        QuestionBank bank;
        fill_question_bank(bank);
        QCOMPARE(bank_hash(bank), QString("ad033443ecae81cf3c171ae25dec20f2"));
        QCOMPARE(question_hash(bank.at(1)), QString("3713295718c85fc1ff2faa0b51587263"));
        QCOMPARE(question_hash(bank.at(204)), QString("bd82f00ea6d3c8f1f321eb2753a050a1"));
    }

    void every_question_told_apart()
    {
        QuestionBank bank;
        fill_question_bank(bank);
        QSet<QString> hashes;
        for (int index = 1; index <= bank.total_questions; ++index)
            hashes.insert(question_hash(bank.at(index)));
        QCOMPARE(hashes.size(), int(bank.total_questions));
    }

    void quiz_scores_data()
    {
        QTest::addColumn<int>("quiz");
        QTest::addColumn<QString>("expected");
        QTest::newRow("taken twice") << 1 << "last 58%, best 88%";
        QTest::newRow("taken once") << 2 << "last 78%, best 78%";
        QTest::newRow("never taken") << 3 << "";
    }
    void quiz_scores()
    {
        QFETCH(int, quiz);
        QFETCH(QString, expected);
        const std::vector<AttemptSummary> newest_first{{3, 1, {}, {}, {}, {}, 51, 30}, {2, 2, {}, {}, {}, {}, 51, 40},
                                                       {1, 1, {}, {}, {}, {}, 51, 45}};
        QCOMPARE(quiz_scores_text(::quiz_scores(newest_first, quiz)), expected);
    }

    void topic_trends_data()
    {
        QTest::addColumn<QList<int>>("rights");   // topic "A", right of 10 per attempt, oldest first
        QTest::addColumn<int>("earlier");         // -1: none
        QTest::addColumn<int>("recent");
        QTest::addColumn<QString>("trend");
        QTest::newRow("one attempt") << QList<int>{6} << -1 << 60 << "";
        QTest::newRow("five: nothing earlier") << QList<int>{1, 2, 3, 4, 5} << -1 << 30 << "";
        QTest::newRow("better of late") << QList<int>{2, 2, 8, 8, 8, 8, 8} << 20 << 80 << "up 60 points";
        QTest::newRow("worse of late") << QList<int>{9, 9, 5, 5, 5, 5, 5} << 90 << 50 << "down 40 points";
        QTest::newRow("steady") << QList<int>{7, 7, 7, 7, 7, 8} << 70 << 72 << "steady";
    }
    void topic_trends()
    {
        QFETCH(QList<int>, rights);
        QFETCH(int, earlier);
        QFETCH(int, recent);
        QFETCH(QString, trend);
        std::vector<AttemptSummary> newest_first;
        TopicResults results{{{0, "A", 10 * int(rights.size()), 0}, {0, "B", 4, 1}}, {}};
        for (int n = 0; n < rights.size(); ++n) {
            newest_first.insert(newest_first.begin(), AttemptSummary{n + 1, 1, {}, {}, {}, day(n), 10, rights[n]});
            results.latest.push_back({n + 1, "A", 10, rights[n]});
            results.totals[0].right += rights[n];
        }
        const std::vector<TopicTrend> trends = ::topic_trends(newest_first, results);
        QCOMPARE(trends.size(), size_t(2));
        const TopicTrend &a = trends[trends[0].topic == "A" ? 0 : 1], &b = trends[trends[0].topic == "B" ? 0 : 1];
        QCOMPARE(a.earlier_percent.value_or(-1), earlier);
        QCOMPARE(a.recent_percent, recent);
        QCOMPARE(trend_text(a), trend);
        // Not asked in the latest attempts: its overall score, no trend.
        QCOMPARE(b.recent_percent, 25);
        QVERIFY(!b.earlier_percent);
    }

    void due_questions_still_in_the_bank()
    {
        QuestionBank bank;
        fill_question_bank(bank);
        const std::vector<DueQuestion> due{{12, question_hash(bank.at(12)), {}}, {13, "edited since", {}},
                                           {999, question_hash(bank.at(12)), {}}, {3, question_hash(bank.at(3)), {}}};
        QCOMPARE(due_bank_questions(due, bank), (std::vector<qint16>{12, 3}));
        QCOMPARE(due_bank_questions({}, bank), std::vector<qint16>());
    }

    void saved_attempts_read_back()
    {
        QTemporaryDir folder;
        HistoryStore store(folder.filePath("history.sqlite"));
        QVERIFY(!store.save(sample_attempt(0, day(0))));   // history off
        QVERIFY(!store.is_on());
        QVERIFY(store.turn_on());
        AttemptRecord older = sample_attempt(1, day(0));
        older.mode = QuizMode::exam;
        QVERIFY(store.save(older));
        QVERIFY(store.save(sample_attempt(2, day(1))));
        QVERIFY(store.save(sample_attempt(3, day(1), "Other bank")));

        const std::vector<AttemptSummary> attempts = store.attempts("Sample bank");
        QCOMPARE(attempts.size(), size_t(2));
        QCOMPARE(attempts[0].ended, day(1));
        QCOMPARE(attempts[1].started, older.started);
        QCOMPARE(attempts[1].mode, QuizMode::exam);
        QCOMPARE(attempts[1].quiz, older.quiz);
        QCOMPARE(attempts[1].options, older.options);
        QCOMPARE(attempts[1].right, older.right);
        QCOMPARE(attempts[1].asked, 51);

        const TopicResults topics = store.topic_results("Sample bank");
        int asked = 0, right = 0;
        for (const TopicResult &total : topics.totals) {
            asked += total.asked;
            right += total.right;
        }
        QCOMPARE(asked, 102);
        QCOMPARE(right, attempts[0].right + attempts[1].right);
        QCOMPARE(topics.totals.size(), size_t(11));
        QCOMPARE(topics.latest.size(), size_t(22));
        QCOMPARE(store.take_notice(), QString());
        QVERIFY(store.turn_off());
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    // A question missed once and then answered right whenever it is due
    // comes back after 1, 2, 4, 8 and 16 days, then no more.
    void missed_question_comes_back()
    {
        QTemporaryDir folder;
        HistoryStore store(folder.filePath("history.sqlite"));
        QVERIFY(store.turn_on());
        store.save(one_answer(9, false, 0));
        QCOMPARE(due_at(store, 0.9), QStringList());
        double at = 0;
        for (int step = 0; step <= 4; ++step) {
            at += 1 << step;
            QCOMPARE(due_at(store, at - 0.01), QStringList());
            QCOMPARE(due_at(store, at), QStringList{QStringLiteral("9:%1").arg(step)});
            store.save(one_answer(9, true, at));
        }
        QCOMPARE(due_at(store, 1000), QStringList());
        store.save(one_answer(9, false, at));
        QCOMPARE(due_at(store, at + 1), QStringList{"9:0"});
    }

    // A file laid out as the first version was: attempts and answers only.
    void older_file_is_upgraded()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("history.sqlite");
        run_raw(path, {
            "CREATE TABLE attempts (id INTEGER PRIMARY KEY, bank_title TEXT NOT NULL, bank_hash TEXT NOT NULL,"
            " quiz INTEGER NOT NULL, mode TEXT NOT NULL, options TEXT NOT NULL, started_at INTEGER NOT NULL,"
            " ended_at INTEGER NOT NULL, asked INTEGER NOT NULL, right_count INTEGER NOT NULL)",
            "CREATE TABLE answers (attempt_id INTEGER NOT NULL, position INTEGER NOT NULL,"
            " question_id INTEGER NOT NULL, question_hash TEXT NOT NULL, given TEXT NOT NULL,"
            " is_right INTEGER NOT NULL, PRIMARY KEY (attempt_id, position)) WITHOUT ROWID",
            "INSERT INTO attempts VALUES (1, 'Sample bank', 'h', 2, 'practice', '', 0, 1772355600000, 2, 1)",
            "INSERT INTO attempts VALUES (2, 'Sample bank', 'h', 2, 'practice', '', 0, 1772442000000, 2, 1)",
            "INSERT INTO answers VALUES (1, 1, 6, 'q6', 'A', 0), (1, 2, 10, 'q10', 'B', 1)",
            "INSERT INTO answers VALUES (2, 1, 6, 'q6', 'C', 1), (2, 2, 10, 'q10', 'D', 0)",
            "PRAGMA user_version = 1"});

        HistoryStore store(path);
        QCOMPARE(store.attempts("Sample bank").size(), size_t(2));
        const TopicResults topics = store.topic_results("Sample bank");
        QCOMPARE(topics.latest.size(), size_t(2));   // one topic ("") in each attempt
        QCOMPARE(topics.totals.size(), size_t(1));
        QCOMPARE(topics.totals[0].asked, 4);
        // Only question 10 was wrong the last time: due a day after day one.
        QCOMPARE(due_at(store, 1.9), QStringList());
        QCOMPARE(due_at(store, 2), QStringList{"10:0"});
        QVERIFY(store.save(sample_attempt(0, day(3))));
        QCOMPARE(store.attempts("Sample bank").size(), size_t(3));
        QCOMPARE(store.take_notice(), QString());
    }

    void damaged_file_data()
    {
        QTest::addColumn<int>("damage");   // bytes overwritten at the start; -1: not a database at all
        QTest::newRow("not a database") << -1;
        QTest::newRow("header overwritten") << 100;
    }
    void damaged_file()
    {
        QFETCH(int, damage);
        QTemporaryDir folder;
        const QString path = folder.filePath("history.sqlite");
        {
            HistoryStore store(path);
            QVERIFY(store.turn_on());
            QVERIFY(store.save(sample_attempt(0, day(0))));
        }
        QFile file(path);
        QVERIFY(file.open(damage < 0 ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::ReadWrite));
        file.write(damage < 0 ? QByteArray(5000, 'x') : QByteArray(damage, '\0'));
        file.close();

        HistoryStore store(path);
        QVERIFY(store.save(sample_attempt(1, day(1))));
        QCOMPARE(store.attempts("Sample bank").size(), size_t(1));
        QVERIFY(store.take_notice().contains("damaged"));
        QCOMPARE(store.take_notice(), QString());
        const QStringList aside = QDir(folder.path()).entryList({"history.sqlite.corrupt-*"});
        QCOMPARE(aside.size(), 1);
        QFile kept(folder.filePath(aside[0]));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.read(4), damage < 0 ? QByteArray("xxxx") : QByteArray(4, '\0'));
    }

    void read_only_folder_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("sound file") << false;
        QTest::newRow("damaged file") << true;
    }
    void read_only_folder()
    {
        QFETCH(bool, damaged);
        QTemporaryDir folder;
        const QString path = folder.filePath("history.sqlite");
        {
            HistoryStore store(path);
            QVERIFY(store.turn_on());
            QVERIFY(store.save(sample_attempt(0, day(0))));
        }
        if (damaged) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(QByteArray(5000, 'x')) == 5000);
        }
        if (!make_read_only(folder.path())) {
            make_writable(folder.path());
            QSKIP("this machine has no way to make a folder read-only");
        }
        HistoryStore store(path);
        // A sound file is still read; a damaged one is said to be so, once,
        // and not said to be moved aside.
        QCOMPARE(store.attempts("Sample bank").size(), size_t(damaged ? 0 : 1));
        store.due_questions("Sample bank", day(1));
        QVERIFY(!store.save(sample_attempt(1, day(1))));
        const QStringList notice = store.take_notice().split('\n');
        QCOMPARE(notice.size(), 1);
        QVERIFY2(notice[0].contains(damaged ? "is damaged and cannot be moved aside" : "could not be saved"), qPrintable(notice[0]));
        QVERIFY(!notice[0].contains("..") && !notice[0].contains("was kept as"));
        QVERIFY(!store.save(sample_attempt(2, day(2))));
        QCOMPARE(store.take_notice(), QString());   // told once
        make_writable(folder.path());
        QVERIFY(QDir(folder.path()).entryList({"*.corrupt-*"}).isEmpty());
        if (!damaged)
            QCOMPARE(HistoryStore(path).attempts("Sample bank").size(), size_t(1));
    }

    // A file of today's layout keeps its attempts. A version no program
    // writes is a damaged file, moved aside; a newer program's file is
    // refused before anything is written to it, even its journal mode.
    void layout_versions_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("expected");   // kept, moved aside, refused
        QTest::newRow("today's layout") << history_schema_version << "kept";
        QTest::newRow("-1") << -1 << "moved aside";
        QTest::newRow("-3") << -3 << "moved aside";
        QTest::newRow("-1000") << -1000 << "moved aside";
        QTest::newRow("0 over tables") << 0 << "moved aside";
        QTest::newRow("newer") << history_schema_version + 1 << "refused";
    }
    void layout_versions()
    {
        QFETCH(int, version);
        QFETCH(QString, expected);
        QTemporaryDir folder;
        const QString path = folder.filePath("history.sqlite");
        {
            HistoryStore store(path);
            QVERIFY(store.turn_on());
            QVERIFY(store.save(sample_attempt(0, day(0))));
        }
        run_raw(path, {"PRAGMA journal_mode = DELETE", QStringLiteral("PRAGMA user_version = %1").arg(version)});
        HistoryStore store(path);
        const bool saved = bool(store.save(sample_attempt(1, day(1))));
        const QString notice = store.take_notice();
        QCOMPARE(saved, expected != "refused");
        QCOMPARE(store.attempts("Sample bank").size(), size_t(expected == "kept" ? 2 : expected == "refused" ? 0 : 1));
        QCOMPARE(notice.contains("damaged"), expected == "moved aside");
        QCOMPARE(notice.contains("newer version"), expected == "refused");
        QVERIFY(!notice.contains(".."));
        QCOMPARE(QDir(folder.path()).entryList({"*.corrupt-*"}).size(), expected == "moved aside" ? 1 : 0);
        if (expected == "refused") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.read(20).at(18), char(1));   // the header's journal mode: not WAL
        }
    }

    // A save that meets another program's write lock keeps the attempt and
    // saves it with the next one.
    void save_blocked_by_another_program()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("history.sqlite");
        HistoryStore store(path);
        QVERIFY(store.turn_on());
        QVERIFY(store.save(sample_attempt(0, day(0))));
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery(other).exec("BEGIN IMMEDIATE");
            QVERIFY(!store.save(sample_attempt(1, day(1))));
            QVERIFY2(store.take_notice().contains("not saved yet"), "no notice");
            QSqlQuery(other).exec("COMMIT");
            other.close();
        }
        QSqlDatabase::removeDatabase("other");
        QVERIFY(store.save(sample_attempt(2, day(2))));
        QCOMPARE(store.attempts("Sample bank").size(), size_t(3));
        QCOMPARE(store.take_notice(), QString());
    }

    // The results stay in lan_switching_quiz whatever the program is called.
    void results_folder_is_the_programs()
    {
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        QCoreApplication::setApplicationName("lan-switching-quiz");
        QCOMPARE(HistoryStore::default_path(), data.filePath("lan_switching_quiz/history.sqlite"));
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "test_history.moc"
