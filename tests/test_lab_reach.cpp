// Reachability between hosts: VLANs, trunks, native VLANs, routing between
// VLANs, and ports the switches shut.
#include "lab_samples.h"

class TestLabReach : public QObject {
    Q_OBJECT

private slots:
    void reach_data();
    void reach();
    void ping_fills_mac_tables();
};

using Commands = QMap<QString, QStringList>;

void TestLabReach::reach_data()
{
    QTest::addColumn<QString>("devices");
    QTest::addColumn<Commands>("commands");
    QTest::addColumn<bool>("reaches");  // PC1 and PC2, both ways

    const QString one_switch = "SW1 PC1:host PC2:host";
    const QStringList hosts{"address 10.0.10.11/24 gateway 10.0.10.1", "address 10.0.10.12/24 gateway 10.0.10.1"};
    const auto with = [&](const QStringList &sw1, const QStringList &sw2 = {}, const QStringList &r1 = {}) {
        return Commands{{"PC1", {hosts[0]}}, {"PC2", {hosts[1]}}, {"SW1", sw1}, {"SW2", sw2}, {"R1", r1}};
    };
    const QString two = "SW1 SW2 R1:router PC1:host PC2:host PC3:host";
    QTest::newRow("same VLAN 1") << two << with({}) << true;
    QTest::newRow("same VLAN 10") << two << with({"vlan 10", "port P1 access vlan 10", "port P8 trunk"},
                                                  {"vlan 10", "port P1 access vlan 10", "port P8 trunk"}) << true;
    QTest::newRow("VLAN not created on SW2") << two << with({"vlan 10", "port P1 access vlan 10", "port P8 trunk"},
                                                            {"port P1 access vlan 10", "port P8 trunk"}) << false;
    QTest::newRow("access VLANs differ") << two << with({"vlan 10", "port P1 access vlan 10", "port P8 trunk"},
                                                        {"vlan 20", "port P1 access vlan 20", "port P8 trunk"}) << false;
    QTest::newRow("trunk allowed list leaves it out") << two
        << with({"vlan 10", "port P1 access vlan 10", "port P8 trunk allowed 1-9,11-4094"},
                {"vlan 10", "port P1 access vlan 10", "port P8 trunk"}) << false;
    QTest::newRow("trunk against access port") << two
        << with({"vlan 10", "port P1 access vlan 10", "port P8 trunk"}, {"vlan 10", "port P1 access vlan 10", "port P8 access vlan 10"})
        << false;
    QTest::newRow("native VLAN carries it untagged") << two
        << with({"vlan 10", "port P1 access vlan 10", "port P8 trunk native 10"},
                {"vlan 10", "port P1 access vlan 10", "port P8 trunk native 10"}) << true;
    QTest::newRow("native mismatch joins VLAN 10 to VLAN 1") << two
        << with({"vlan 10", "port P1 access vlan 10", "port P8 trunk native 10"}, {"vlan 10", "port P8 trunk"}) << true;
    const QStringList stick{"vlan 10", "vlan 20", "port P1 access vlan 10", "port P8 trunk", "port P7 trunk"};
    const QStringList stick2{"vlan 10", "vlan 20", "port P1 access vlan 20", "port P8 trunk"};
    const QStringList router{"interface P1.10 vlan 10 address 10.0.10.1/24", "interface P1.20 vlan 20 address 10.0.20.1/24"};
    Commands routed = with(stick, stick2, router);
    routed["PC2"] = QStringList{"address 10.0.20.12/24 gateway 10.0.20.1"};
    QTest::newRow("router on a stick") << two << routed << true;
    Commands wrong_gateway = routed;
    wrong_gateway["PC2"] = QStringList{"address 10.0.20.12/24 gateway 10.0.20.254"};
    QTest::newRow("wrong gateway") << two << wrong_gateway << false;
    Commands no_gateway = routed;
    no_gateway["PC2"] = QStringList{"address 10.0.20.12/24"};
    QTest::newRow("no gateway") << two << no_gateway << false;
    Commands wrong_subinterface = routed;
    wrong_subinterface["R1"] = QStringList{router[0], "interface P1.20 vlan 30 address 10.0.20.1/24"};
    QTest::newRow("sub-interface in the wrong VLAN") << two << wrong_subinterface << false;
    Commands svi = routed;
    svi["SW1"] = stick + QStringList{"interface vlan 10 address 10.0.10.1/24", "interface vlan 20 address 10.0.20.1/24"};
    svi["R1"] = QStringList{};
    QTest::newRow("switch routes between VLANs") << two << svi << true;
    QTest::newRow("BPDU guard shuts the uplink") << two << with({"port P8 bpdu-guard"}) << false;
    // SW1 P8 hears PC2 and PC3 from SW2.
    QTest::newRow("port security, one address too many") << two << with({"port P8 security"}) << false;
    QTest::newRow("port security, room for both") << two << with({"port P8 security max 2"}) << true;
    QTest::newRow("port security, one address heard") << two << with({}, {"port P8 security"}) << true;
    Commands shut = with({"port P8 shutdown"});
    QTest::newRow("uplink shut down") << two << shut << false;
}

static const QStringList two_switch_links{"SW1 P8 SW2 P8", "SW1 P1 PC1 P1", "SW2 P1 PC2 P1", "SW2 P2 PC3 P1", "SW1 P7 R1 P1"};

void TestLabReach::reach()
{
    QFETCH(QString, devices);
    QFETCH(Commands, commands);
    QFETCH(bool, reaches);
    Network network = lab_network(devices, two_switch_links, commands);
    QString problem;
    QCOMPARE(network.reaches(3, 4, &problem), reaches);
    QCOMPARE(problem.isEmpty(), reaches);
}

void TestLabReach::ping_fills_mac_tables()
{
    Network network = lab_network("SW1 SW2 R1:router PC1:host PC2:host PC3:host", two_switch_links,
                                  {{"PC1", {"address 10.0.0.1/24"}}, {"PC2", {"address 10.0.0.2/24"}}});
    LabConsole pc1(network, 3);
    QCOMPARE(pc1.run("ping PC2"), QStringLiteral("Reply from 10.0.0.2 (PC2)"));
    // Each switch learned PC1 and PC2, and nothing of PC3, which sent nothing.
    for (int sw = 0; sw < 2; ++sw) {
        const MacTable &table = network.mac_table(sw);
        QCOMPARE(table.size(), 2);
        QCOMPARE(network.logical_name(sw, table.value({1, network.device(3).mac})), sw == 0 ? "P1" : "P8");
    }
    network.recompute();
    QVERIFY(network.mac_table(0).isEmpty());
}

QTEST_GUILESS_MAIN(TestLabReach)
#include "test_lab_reach.moc"
