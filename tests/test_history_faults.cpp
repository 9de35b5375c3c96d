// The results file under hard faults, with real processes: a writer killed
// at random moments, and two writers at once. What was reported committed
// must be there, whole, in a file that passes SQLite's integrity check.
#include "history/history_store.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

QProcess *start_writer(const QString &path, int count, QObject *parent)
{
    auto *writer = new QProcess(parent);
    writer->start(QStringLiteral(HISTORY_WRITER), {path, QString::number(count)});
    return writer;
}

QSet<qint64> reported_ids(QProcess &writer)
{
    QSet<qint64> ids;
    for (const QByteArray &line : writer.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            ids.insert(line.toLongLong());
    }
    return ids;
}

// The file as a fresh reader finds it: its integrity check, and each saved
// attempt's id with the number of its answers.
struct FileCheck {
    QString integrity;
    QMap<qint64, int> answers_per_attempt;
};

FileCheck check_file(const QString &path)
{
    FileCheck check;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", "check");
        database.setDatabaseName(path);
        if (!database.open())
            return check;
        QSqlQuery query(database);
        query.exec("PRAGMA integrity_check");
        check.integrity = query.next() ? query.value(0).toString() : query.lastError().text();
        query.exec("SELECT t.id, COUNT(a.position) FROM attempts t LEFT JOIN answers a ON a.attempt_id = t.id GROUP BY t.id");
        while (query.next())
            check.answers_per_attempt.insert(query.value(0).toLongLong(), query.value(1).toInt());
    }
    QSqlDatabase::removeDatabase("check");
    return check;
}

} // namespace

class HistoryFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void killed_while_saving()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("history.sqlite");
        QVERIFY(HistoryStore(path).turn_on());
        QRandomGenerator random(20261208);
        QSet<qint64> committed;
        for (int round = 0; round < 50; ++round) {
            QProcess *writer = start_writer(path, 100000, this);
            QVERIFY(writer->waitForStarted());
            QThread::msleep(random.bounded(20, 120));
            writer->kill();   // SIGKILL
            QVERIFY(writer->waitForFinished());
            committed += reported_ids(*writer);
            delete writer;
        }
        const FileCheck check = check_file(path);
        QCOMPARE(check.integrity, QString("ok"));
        QVERIFY2(committed.size() > 50, "the writer should have saved between kills");
        for (qint64 id : committed)
            QVERIFY2(check.answers_per_attempt.contains(id), qPrintable(QString::number(id)));
        for (int answers : check.answers_per_attempt)
            QCOMPARE(answers, 51);   // no attempt is ever half saved
    }

    void two_writers_at_once()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("history.sqlite");
        QVERIFY(HistoryStore(path).turn_on());
        QProcess *first = start_writer(path, 60, this);
        QProcess *second = start_writer(path, 60, this);
        QSet<qint64> committed;
        for (QProcess *writer : {first, second}) {
            QVERIFY(writer->waitForFinished(60000));
            QCOMPARE(writer->exitCode(), 0);
            committed += reported_ids(*writer);
        }
        QCOMPARE(committed.size(), 120);
        const FileCheck check = check_file(path);
        QCOMPARE(check.integrity, QString("ok"));
        QCOMPARE(QSet<qint64>(check.answers_per_attempt.keyBegin(), check.answers_per_attempt.keyEnd()), committed);
    }
};

QTEST_GUILESS_MAIN(HistoryFaultsTest)
#include "test_history_faults.moc"
