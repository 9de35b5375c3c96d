// Lab definitions: goals and their sentences, marking, the lab proof, the
// screen reader's description, and definitions a reader must refuse.
#include "lab_samples.h"

class TestLabDefinition : public QObject {
    Q_OBJECT

private slots:
    void goals_data();
    void goals();
    void proof_data();
    void proof();
    void hostile_data();
    void hostile();
    void description();
};

// PC2 starts in the wrong VLAN; the solution moves it.
static QJsonObject vlan_lab()
{
    QJsonObject lab = lab_json("SW1 SW2 PC1:host PC2:host PC3:host",
                               {"SW1 P1 PC1 P1", "SW2 P1 PC2 P1", "SW2 P2 PC3 P1", "SW1 P7 SW2 P7", "SW1 P8 SW2 P8"},
                               {{"SW1", {"vlan 10", "port P1 access vlan 10", "port P7 trunk", "port P8 trunk", "spanning-tree priority 4096"}},
                                {"SW2", {"vlan 10", "port P1 access vlan 20", "port P7 trunk", "port P8 trunk", "port P2 bpdu-guard"}},
                                {"PC1", {"address 10.0.10.1/24"}}, {"PC2", {"address 10.0.10.2/24"}}, {"PC3", {"address 10.0.10.3/24"}}});
    lab.insert("solution", QJsonObject{{"SW2", QJsonArray{"port P1 access vlan 10"}}});
    lab.insert("goals", QJsonArray{QJsonObject{{"reach", QJsonArray{"PC1", "PC2"}}}});
    return lab;
}

void TestLabDefinition::goals_data()
{
    QTest::addColumn<QJsonValue>("goal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("at_start");
    QTest::addColumn<bool>("solved");
    const auto pair = [](const char *a, const char *b) { return QJsonArray{a, b}; };
    QTest::newRow("reach") << QJsonValue(QJsonObject{{"reach", pair("PC1", "PC2")}}) << "PC1 reaches PC2" << false << true;
    QTest::newRow("not_reach") << QJsonValue(QJsonObject{{"not_reach", pair("PC1", "PC3")}}) << "PC1 does not reach PC3" << true << true;
    QTest::newRow("root") << QJsonValue(QJsonObject{{"root", "SW1"}}) << "SW1 is the root bridge" << true << true;
    QTest::newRow("port_role") << QJsonValue(QJsonObject{{"port_role", QJsonArray{"SW2", "P8", "alternate"}}})
                               << "SW2 P8 is an alternate port" << true << true;
    QTest::newRow("port_state") << QJsonValue(QJsonObject{{"port_state", QJsonArray{"SW2", "P8", "discarding"}}})
                                << "SW2 P8 is discarding" << true << true;
    QTest::newRow("port_state down") << QJsonValue(QJsonObject{{"port_state", QJsonArray{"SW1", "P3", "down"}}})
                                     << "SW1 P3 is down" << true << true;
    QTest::newRow("bundle_active") << QJsonValue(QJsonObject{{"bundle_active", QJsonArray{"SW1", 1, 2}}})
                                   << "Bundle 1 on SW1 has 2 active members" << false << false;
    QTest::newRow("no_err_disabled") << QJsonValue(QJsonObject{{"no_err_disabled", true}}) << "No port is err-disabled" << true << true;
    QTest::newRow("err_disabled") << QJsonValue(QJsonObject{{"err_disabled", pair("SW2", "P2")}}) << "SW2 P2 is err-disabled" << false << false;
}

void TestLabDefinition::goals()
{
    QFETCH(QJsonValue, goal);
    QFETCH(QString, text);
    QFETCH(bool, at_start);
    QFETCH(bool, solved);
    QJsonObject json = vlan_lab();
    json.insert("goals", QJsonArray{goal});
    QStringList problems;
    const LabDefinition lab = read_lab(json, &problems);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    Network start = build_network(lab, false);
    Network done = build_network(lab, true);
    const QVector<GoalResult> before = evaluate_goals(lab.goals, start);
    QCOMPARE(before.size(), 1);
    QCOMPARE(before[0].text, text);
    QCOMPARE(before[0].met, at_start);
    QCOMPARE(all_met(evaluate_goals(lab.goals, done)), solved);
}

void TestLabDefinition::proof_data()
{
    QTest::addColumn<QJsonObject>("lab");
    QTest::addColumn<QString>("problem");  // empty: the lab proves
    QJsonObject good = vlan_lab();
    QTest::newRow("sound lab") << good << "";
    QJsonObject easy = good;
    easy.insert("goals", QJsonArray{QJsonObject{{"root", "SW1"}}});
    QTest::newRow("nothing to do") << easy << "the starting state already meets every goal";
    QJsonObject unsolved = good;
    unsolved.insert("solution", QJsonObject{{"SW2", QJsonArray{"port P1 access vlan 30"}}});
    QTest::newRow("wrong solution") << unsolved << "the solution does not meet: PC1 reaches PC2";
    QJsonObject typo = good;
    typo.insert("solution", QJsonObject{{"SW2", QJsonArray{"port P1 acess vlan 10"}}});
    QTest::newRow("command that does not parse") << typo << "SW2: 'port P1 acess vlan 10': Unknown word 'acess'";
    QJsonObject show = good;
    show.insert("solution", QJsonObject{{"SW2", QJsonArray{"port P1 access vlan 10", "show vlans"}}});
    QTest::newRow("show in a solution") << show << "not a configuration command";
}

void TestLabDefinition::proof()
{
    QFETCH(QJsonObject, lab);
    QFETCH(QString, problem);
    QStringList problems;
    const LabDefinition definition = read_lab(lab, &problems);
    QVERIFY(problems.isEmpty());
    const QString found = prove_lab(definition).join('\n');
    if (problem.isEmpty())
        QCOMPARE(found, QString());
    else
        QVERIFY2(found.contains(problem), qPrintable(found));
}

static QJsonObject with(QJsonObject json, const QString &key, const QJsonValue &value)
{
    json.insert(key, value);
    return json;
}

void TestLabDefinition::hostile_data()
{
    QTest::addColumn<QJsonObject>("lab");
    QTest::addColumn<QString>("problem");
    const QJsonObject good = vlan_lab();
    const QJsonArray devices = good["devices"].toArray();
    const QJsonArray links = good["links"].toArray();
    const auto link = [](const char *a, const char *pa, const char *b, const char *pb) {
        return QJsonObject{{"a", QJsonArray{a, pa}}, {"b", QJsonArray{b, pb}}};
    };
    QJsonArray many_devices, many_ports, many_links, many_commands;
    for (int i = 0; i < 65; ++i)
        many_devices << QJsonObject{{"name", QStringLiteral("S%1").arg(i)}, {"kind", "switch"}, {"ports", 1}};
    for (int i = 0; i < 65; ++i)
        many_ports << QStringLiteral("G%1").arg(i);
    for (int i = 0; i < 257; ++i)
        many_links << link("SW1", "P1", "SW2", "P1");
    for (int i = 0; i < 201; ++i)
        many_commands << "vlan 10";
    QTest::newRow("empty") << QJsonObject{} << "a lab has 1 to 64 devices";
    QTest::newRow("unknown device in a link") << with(good, "links", QJsonArray{link("SW1", "P1", "SW9", "P1")}) << "SW9 P1 is not a port";
    QTest::newRow("unknown port in a link") << with(good, "links", QJsonArray{link("SW1", "P1", "SW2", "P99")}) << "SW2 P99 is not a port";
    QTest::newRow("port cabled twice") << with(good, "links", QJsonArray{link("SW1", "P1", "SW2", "P1"), link("SW1", "P1", "SW2", "P2")})
                                       << "SW1 P1 is cabled twice";
    QTest::newRow("port cabled to itself") << with(good, "links", QJsonArray{link("SW1", "P1", "SW1", "P1")}) << "cabled twice";
    QTest::newRow("duplicate names") << with(good, "devices", QJsonArray(devices) << QJsonObject{{"name", "sw1"}, {"kind", "switch"}, {"ports", 2}})
                                     << "two devices named sw1";
    QTest::newRow("too many devices") << with(good, "devices", many_devices) << "a lab has 1 to 64 devices";
    QTest::newRow("too many ports") << with(good, "devices", QJsonArray{QJsonObject{{"name", "S"}, {"kind", "switch"}, {"ports", many_ports}}})
                                    << "S: 1 to 64 ports";
    QTest::newRow("a million ports") << with(good, "devices", QJsonArray{QJsonObject{{"name", "S"}, {"kind", "switch"}, {"ports", 1e6}}})
                                     << "S: 1 to 64 ports";
    QTest::newRow("too many links") << with(good, "links", many_links) << "more than 256 links";
    QTest::newRow("too many commands") << with(good, "start", QJsonObject{{"SW1", many_commands}}) << "SW1: more than 200 commands";
    QTest::newRow("long command") << with(good, "start", QJsonObject{{"SW1", QJsonArray{QString(300, 'v')}}}) << "longer than 256";
    QTest::newRow("commands for a stranger") << with(good, "start", QJsonObject{{"X1", QJsonArray{}}}) << "unknown device 'X1'";
    QTest::newRow("bad kind") << with(good, "devices", QJsonArray{QJsonObject{{"name", "S"}, {"kind", "hub"}, {"ports", 2}}})
                              << "S: kind is switch, router or host";
    QTest::newRow("bad name") << with(good, "devices", QJsonArray{QJsonObject{{"name", "S 1"}, {"kind", "switch"}, {"ports", 2}}})
                              << "bad device name 'S 1'";
    QTest::newRow("bad port name") << with(good, "devices", QJsonArray{QJsonObject{{"name", "S"}, {"kind", "switch"}, {"ports", QJsonArray{"G0.1"}}}})
                                   << "bad port name 'G0.1'";
    QTest::newRow("two-port host") << with(good, "devices", QJsonArray{QJsonObject{{"name", "H"}, {"kind", "host"}, {"ports", 2}}})
                                   << "a host has one port";
    QTest::newRow("bad MAC") << with(good, "devices", QJsonArray{QJsonObject{{"name", "S"}, {"kind", "switch"}, {"ports", 2}, {"mac", "xyz"}}})
                             << "S: bad MAC address";
    QJsonObject slow = link("SW1", "P1", "SW2", "P1");
    slow.insert("speed", 56);
    QTest::newRow("bad speed") << with(good, "links", QJsonArray{slow}) << "10, 100, 1000 or 10000";
    QTest::newRow("no goals") << with(good, "goals", QJsonArray{}) << "a lab has 1 to 64 goals";
    QTest::newRow("unknown goal") << with(good, "goals", QJsonArray{QJsonObject{{"fly", true}}}) << "unknown goal 'fly'";
    QTest::newRow("goal names a stranger") << with(good, "goals", QJsonArray{QJsonObject{{"reach", QJsonArray{"PC1", "PC9"}}}})
                                           << "no device 'PC9'";
    QTest::newRow("goal with a bad role") << with(good, "goals", QJsonArray{QJsonObject{{"port_role", QJsonArray{"SW1", "P1", "boss"}}}})
                                          << "'boss' is none of root";
    QTest::newRow("root goal on a host") << with(good, "goals", QJsonArray{QJsonObject{{"root", "PC1"}}}) << "PC1 is not a switch";
    QTest::newRow("goal of the wrong shape") << with(good, "goals", QJsonArray{QJsonObject{{"reach", "PC1"}}}) << "takes a list of 2";
}

void TestLabDefinition::hostile()
{
    QFETCH(QJsonObject, lab);
    QFETCH(QString, problem);
    QStringList problems;
    const LabDefinition definition = read_lab(lab, &problems);
    QVERIFY2(problems.join('\n').contains(problem), qPrintable(problems.join('\n')));
    QVERIFY(definition.topology.devices.size() <= 64 && definition.topology.links.size() <= 256);
    // Whatever was read still makes a network, without a crash.
    build_network(definition, true);
}

void TestLabDefinition::description()
{
    QStringList problems;
    const LabDefinition lab = read_lab(vlan_lab(), &problems);
    Network network = build_network(lab, false);
    LabConsole(network, 1).run("port P7 bpdu-guard");
    const QString text = describe_network(network);
    QVERIFY2(text.contains("PC1, a host, address 10.0.10.1/24."), qPrintable(text));
    QVERIFY2(text.contains("Link from SW1 P8 forwarding to SW2 P8 forwarding, 1000 Mb/s full duplex."), qPrintable(text));
    QVERIFY2(text.contains("Link from SW1 P7 down to SW2 P7 err-disabled"), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestLabDefinition)
#include "test_lab_definition.moc"
