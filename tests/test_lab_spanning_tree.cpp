// The spanning tree: root bridge, roles and states, ties broken by bridge
// ID, cost and port ID; root guard; a bundle counted as one port.
#include "lab_samples.h"
#include "lab/spanning_tree.h"

class TestLabSpanningTree : public QObject {
    Q_OBJECT

private slots:
    void roles_data();
    void roles();
};

using Commands = QMap<QString, QStringList>;

void TestLabSpanningTree::roles_data()
{
    QTest::addColumn<QString>("devices");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<Commands>("commands");
    QTest::addColumn<QString>("root");
    QTest::addColumn<QStringList>("ports");  // "SW P role state"

    const QStringList triangle{"SW1 P1 SW2 P1", "SW2 P2 SW3 P1", "SW1 P2 SW3 P2"};
    QTest::newRow("triangle, lowest MAC wins the tie") << "SW1=00-00-00-00-00-31 SW2=00-00-00-00-00-12 SW3=00-00-00-00-00-2C" << triangle
        << Commands{} << "SW2"
        << QStringList{"SW1 P1 root forwarding", "SW3 P1 root forwarding", "SW2 P1 designated forwarding",
                       "SW1 P2 alternate blocking", "SW3 P2 designated forwarding"};
    QTest::newRow("triangle, priority before MAC") << "SW1 SW2 SW3" << triangle
        << Commands{{"SW3", {"spanning-tree priority 4096"}}} << "SW3"
        << QStringList{"SW1 P2 root forwarding", "SW2 P2 root forwarding", "SW1 P1 alternate blocking", "SW2 P1 designated forwarding"};
    QTest::newRow("square, the cheaper way round") << "SW1 SW2 SW3 SW4"
        << QStringList{"SW1 P1 SW2 P1", "SW2 P2 SW3 P1 100", "SW3 P2 SW4 P2", "SW4 P1 SW1 P2"}
        << Commands{{"SW1", {"spanning-tree priority 0"}}} << "SW1"
        << QStringList{"SW3 P2 root forwarding", "SW3 P1 alternate blocking", "SW2 P2 designated forwarding",
                       "SW4 P2 designated forwarding"};
    QTest::newRow("square, a port cost turns it") << "SW1 SW2 SW3 SW4"
        << QStringList{"SW1 P1 SW2 P1", "SW2 P2 SW3 P1 100", "SW3 P2 SW4 P2", "SW4 P1 SW1 P2"}
        << Commands{{"SW1", {"spanning-tree priority 0"}}, {"SW3", {"port P2 cost 30"}}} << "SW1"
        << QStringList{"SW3 P1 root forwarding", "SW3 P2 alternate blocking", "SW4 P2 designated forwarding"};
    QTest::newRow("parallel pair, lowest sender port ID") << "SW1 SW2"
        << QStringList{"SW1 P1 SW2 P2", "SW1 P2 SW2 P1"}
        << Commands{{"SW1", {"spanning-tree priority 0"}}} << "SW1"
        << QStringList{"SW2 P2 root forwarding", "SW2 P1 alternate blocking"};
    QTest::newRow("parallel pair, sender port priority") << "SW1 SW2"
        << QStringList{"SW1 P1 SW2 P2", "SW1 P2 SW2 P1"}
        << Commands{{"SW1", {"spanning-tree priority 0", "port P2 priority 64"}}} << "SW1"
        << QStringList{"SW2 P1 root forwarding", "SW2 P2 alternate blocking"};
    QTest::newRow("own cable loop: backup port") << "SW1 SW2"
        << QStringList{"SW1 P1 SW2 P1", "SW2 P3 SW2 P4"}
        << Commands{{"SW1", {"spanning-tree priority 0"}}} << "SW1"
        << QStringList{"SW2 P3 designated forwarding", "SW2 P4 backup blocking"};
    QTest::newRow("shut port is disabled, tree reconverges") << "SW1=00-00-00-00-00-31 SW2=00-00-00-00-00-12 SW3" << triangle
        << Commands{{"SW1", {"port P1 shutdown"}}} << "SW2"
        << QStringList{"SW1 P1 disabled disabled", "SW1 P2 root forwarding", "SW3 P2 designated forwarding"};
    QTest::newRow("root guard holds the better root out") << "SW1 SW2 LAB"
        << QStringList{"SW1 P1 SW2 P1", "SW2 P7 LAB P1"}
        << Commands{{"SW1", {"spanning-tree priority 4096"}}, {"SW2", {"port P7 root-guard"}}, {"LAB", {"spanning-tree priority 0"}}}
        << "SW1" << QStringList{"SW2 P7 alternate blocking", "SW2 P1 root forwarding", "LAB P1 designated forwarding"};
    QTest::newRow("root guard lets an inferior switch be") << "SW1 SW2 LAB"
        << QStringList{"SW1 P1 SW2 P1", "SW2 P7 LAB P1"}
        << Commands{{"SW1", {"spanning-tree priority 4096"}}, {"SW2", {"port P7 root-guard"}}, {"LAB", {"spanning-tree priority 61440"}}}
        << "SW1" << QStringList{"SW2 P7 designated forwarding", "LAB P1 root forwarding"};
    QTest::newRow("a bundle is one port, cheaper than a link") << "SW1 SW2"
        << QStringList{"SW1 P1 SW2 P1", "SW1 P2 SW2 P2", "SW1 P3 SW2 P3"}
        << Commands{{"SW1", {"spanning-tree priority 0", "bundle 1 ports P2,P3 mode static"}}, {"SW2", {"bundle 1 ports P2,P3 mode static"}}}
        << "SW1" << QStringList{"SW2 P2 root forwarding", "SW2 P3 root forwarding", "SW2 P1 alternate blocking"};
}

void TestLabSpanningTree::roles()
{
    QFETCH(QString, devices);
    QFETCH(QStringList, links);
    QFETCH(Commands, commands);
    QFETCH(QString, root);
    QFETCH(QStringList, ports);
    const Network network = lab_network(devices, links, commands);
    const NetworkModel &model = network.model();
    for (int d = 0; d < model.devices.size(); ++d)
        if (model.devices[d].name != QLatin1String("LAB"))
            QCOMPARE(network.state().devices[d].root_id, bridge_id(model.devices[model.device_index(root)]));
    for (const QString &expected : ports) {
        const QStringList w = expected.split(QLatin1Char(' '));
        QCOMPARE(w[0] + QLatin1Char(' ') + w[1] + QLatin1Char(' ') + port_summary(network, w[0], w[1]), expected);
    }
}

QTEST_GUILESS_MAIN(TestLabSpanningTree)
#include "test_lab_spanning_tree.moc"
