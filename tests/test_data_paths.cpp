// Finding the scenario bank relative to the executable's folder.
#include "bank/data_paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDataPaths : public QObject
{
    Q_OBJECT

private slots:
    void scenario_bank_beside_executable_data();
    void scenario_bank_beside_executable();
};

void TestDataPaths::scenario_bank_beside_executable_data()
{
    QTest::addColumn<QString>("made");           // what is created under the prefix
    QTest::addColumn<QString>("executable_dir"); // relative to the prefix
    QTest::addColumn<bool>("found");

    const QString bank = QStringLiteral("share/lan_switching_quiz/scenarios/scenarios.json");
    QTest::newRow("installed") << bank << "bin" << true;
    QTest::newRow("folder with a trailing slash") << bank << "bin/" << true;
    QTest::newRow("no bank") << QString() << "bin" << false;
    QTest::newRow("a folder named like the bank") << bank + "/" << "bin" << false;
    QTest::newRow("executable one level deeper") << bank << "bin/sub" << false;
}

void TestDataPaths::scenario_bank_beside_executable()
{
    QFETCH(QString, made);
    QFETCH(QString, executable_dir);
    QFETCH(bool, found);

    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    QDir root(prefix.path());
    QVERIFY(root.mkpath(QStringLiteral("bin/sub")));
    if (made.endsWith('/')) {
        QVERIFY(root.mkpath(made));
    } else if (!made.isEmpty()) {
        QVERIFY(root.mkpath(QFileInfo(made).path()));
        QFile file(root.filePath(made));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    const QString expected = found ? QDir::cleanPath(root.absoluteFilePath(made)) : QString();
    QCOMPARE(scenario_bank_file_beside(root.filePath(executable_dir)), expected);
}

QTEST_GUILESS_MAIN(TestDataPaths)
#include "test_data_paths.moc"
