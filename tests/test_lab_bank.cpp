// The lab questions of the scenario bank: each reads, proves, and its
// reference solution typed into the consoles is taken without an error and
// meets the goals; a cheap fix of the kind its task rules out does not.
#include "lab/lab.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

class TestLabBank : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void lab_proves_data();
    void lab_proves();
    void cheap_fix_fails_data();
    void cheap_fix_fails();

private:
    QMap<int, QJsonObject> labs_;  // question id -> lab
};

static QString results_text(const QVector<GoalResult> &results)
{
    QStringList lines;
    for (const GoalResult &result : results)
        lines << (result.met ? QStringLiteral("met: ") : QStringLiteral("NOT met: ")) + result.text;
    return lines.join(QLatin1Char('\n'));
}

void TestLabBank::initTestCase()
{
    QFile file(QStringLiteral(LAB_BANK));
    QVERIFY2(file.open(QIODevice::ReadOnly), LAB_BANK);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    for (const QJsonValue &question : document.object().value(QStringLiteral("questions")).toArray()) {
        // The bank's labs numbered from 1 in the order they come.
        const QJsonObject object = question.toObject();
        if (object.value(QStringLiteral("question_type")).toString() != QLatin1String("lab"))
            continue;
        QVERIFY(!object.value(QStringLiteral("question")).toString().isEmpty());
        QVERIFY(!object.value(QStringLiteral("explanation")).toArray().isEmpty());
        labs_.insert(labs_.size() + 1, object.value(QStringLiteral("lab")).toObject());
    }
    QCOMPARE(labs_.size(), 12);
}

void TestLabBank::lab_proves_data()
{
    QTest::addColumn<int>("id");
    for (int id = 1; id <= 12; ++id)
        QTest::newRow(qPrintable(QStringLiteral("lab %1").arg(id))) << id;
}

void TestLabBank::lab_proves()
{
    QFETCH(int, id);
    QVERIFY(labs_.contains(id));
    QStringList problems;
    const LabDefinition lab = read_lab(labs_.value(id), &problems);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    const QStringList proof = prove_lab(lab);
    Network solved = build_network(lab, true);
    QVERIFY2(proof.isEmpty(), qPrintable(proof.join(QLatin1Char('\n')) + QLatin1Char('\n')
                                         + results_text(evaluate_goals(lab.goals, solved))));

    // The solution as a student would type it, one console per device.
    Network network = build_network(lab, false);
    for (auto it = lab.solution.begin(); it != lab.solution.end(); ++it) {
        LabConsole console(network, network.model().device_index(it.key()));
        for (const QString &line : it.value()) {
            const ConsoleReply reply = console.execute(line);
            QVERIFY2(!reply.error, qPrintable(it.key() + QStringLiteral("> ") + line + QLatin1Char('\n') + reply.text));
        }
    }
    const QVector<GoalResult> results = evaluate_goals(lab.goals, network);
    QVERIFY2(all_met(results), qPrintable(results_text(results)));
}

void TestLabBank::cheap_fix_fails_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QStringList>("commands");  // "SW2> line", typed on top of the start
    const auto row = [](const char *name, int id, const QStringList &commands) { QTest::newRow(name) << id << commands; };
    row("1 SW1 swapped", 1, {"SW1> port P1 access vlan 20", "SW1> port P2 access vlan 10"});
    row("1 every desk in VLAN 10", 1, {"SW2> port P1 access vlan 10", "SW2> port P2 access vlan 10"});
    row("2 trunks allow all", 2, {"SW1> port P8 trunk allowed all", "SW2> port P8 trunk allowed all"});
    row("3 laptop port shut", 3, {"SW2> port P5 shutdown"});
    row("4 other switch demoted", 4, {"SW3> spanning-tree priority 61440"});
    row("5 standby link shut", 5, {"SW3> port P2 shutdown"});
    row("5 cost on the far end", 5, {"SW2> port P2 cost 100"});
    row("5 direct link cheaper", 5, {"SW3> port P1 cost 1"});
    row("5 root moved", 5, {"SW3> spanning-tree priority 0"});
    row("6 uplink only", 6, {"SW1> no port P8 bpdu-guard", "SW1> no port P8 edge"});
    row("6 desk port shut", 6, {"SW1> no port P8 bpdu-guard", "SW1> no port P8 edge", "SW2> port P3 shutdown"});
    row("7 bpdu guard", 7, {"SW2> port P3 bpdu-guard"});
    row("7 port shut", 7, {"SW2> port P3 shutdown"});
    row("7 own priority 0", 7, {"SW1> spanning-tree priority 0"});
    row("7 rogue reconfigured", 7, {"SW3> spanning-tree priority 61440"});
    row("8 no bundle", 8, {"SW1> no bundle 1", "SW2> no bundle 1"});
    row("9 member dropped", 9, {"SW2> bundle 1 ports P7 mode lacp-active"});
    row("9 member allows all", 9, {"SW2> port P8 trunk allowed all"});
    row("10 shutdown action", 10, {"SW1> port P1 security max 1"});
    row("10 bpdu guard", 10, {"SW1> port P1 bpdu-guard"});
    row("10 port shut", 10, {"SW1> port P1 shutdown"});
    row("11 router moved", 11, {"R1> interface G0.20 vlan 20 address 10.0.20.254/24"});
    row("12 hosts moved", 12, {"SW1> vlan 30", "SW1> port P2 access vlan 30", "SW2> vlan 30", "SW2> port P3 access vlan 30"});
}

void TestLabBank::cheap_fix_fails()
{
    QFETCH(int, id);
    QFETCH(QStringList, commands);
    QStringList problems;
    const LabDefinition lab = read_lab(labs_.value(id), &problems);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    Network network = build_network(lab, false);
    for (const QString &typed : commands) {
        const QString device = typed.section(QStringLiteral("> "), 0, 0), line = typed.section(QStringLiteral("> "), 1);
        QVERIFY2(network.model().device_index(device) >= 0, qPrintable(typed));
        LabConsole console(network, network.model().device_index(device));
        const ConsoleReply reply = console.execute(line);
        QVERIFY2(!reply.error, qPrintable(line + QLatin1Char('\n') + reply.text));
    }
    const QVector<GoalResult> results = evaluate_goals(lab.goals, network);
    QVERIFY2(!all_met(results), qPrintable(results_text(results)));
}

QTEST_GUILESS_MAIN(TestLabBank)
#include "test_lab_bank.moc"
