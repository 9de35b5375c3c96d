// Which bundle members join, by each condition a bundle needs.
#include "lab_samples.h"

class TestLabBundles : public QObject {
    Q_OBJECT

private slots:
    void members_data();
    void members();
};

using Commands = QMap<QString, QStringList>;

void TestLabBundles::members_data()
{
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<QString>("sw1_mode");
    QTest::addColumn<QString>("sw2_mode");
    QTest::addColumn<QStringList>("extra");        // more commands on SW1
    QTest::addColumn<QStringList>("expected");     // per SW1 member: "active" or the reason it is suspended

    const QStringList pair{"SW1 P1 SW2 P1", "SW1 P2 SW2 P2"};
    QTest::newRow("static with static") << pair << "static" << "static" << QStringList{} << QStringList{"active", "active"};
    QTest::newRow("active with passive") << pair << "lacp-active" << "lacp-passive" << QStringList{} << QStringList{"active", "active"};
    QTest::newRow("active with active") << pair << "lacp-active" << "lacp-active" << QStringList{} << QStringList{"active", "active"};
    QTest::newRow("passive with passive") << pair << "lacp-passive" << "lacp-passive" << QStringList{}
                                          << QStringList{"neither starts", "neither starts"};
    QTest::newRow("static against LACP") << pair << "static" << "lacp-active" << QStringList{}
                                         << QStringList{"static at one end", "static at one end"};
    QTest::newRow("half duplex member") << QStringList{"SW1 P1 SW2 P1", "SW1 P2 SW2 P2 1000 half"} << "lacp-active" << "lacp-active"
                                        << QStringList{} << QStringList{"active", "half duplex"};
    QTest::newRow("speed differs") << QStringList{"SW1 P1 SW2 P1", "SW1 P2 SW2 P2 100"} << "static" << "static" << QStringList{}
                                   << QStringList{"active", "speed differs from P1"};
    QTest::newRow("VLAN settings differ") << pair << "static" << "static" << QStringList{"port P2 access vlan 20"}
                                          << QStringList{"active", "VLAN settings differ from P1"};
    QTest::newRow("member shut down") << pair << "static" << "static" << QStringList{"port P1 shutdown"}
                                      << QStringList{"link down", "active"};
    QTest::newRow("another switch") << QStringList{"SW1 P1 SW2 P1", "SW1 P2 SW3 P2"} << "lacp-active" << "lacp-active"
                                    << QStringList{} << QStringList{"active", "not in a bundle"};
}

void TestLabBundles::members()
{
    QFETCH(QStringList, links);
    QFETCH(QString, sw1_mode);
    QFETCH(QString, sw2_mode);
    QFETCH(QStringList, extra);
    QFETCH(QStringList, expected);
    const Network network = lab_network("SW1 SW2 SW3", links,
                                        {{"SW1", QStringList{"vlan 20", "bundle 1 ports P1,P2 mode " + sw1_mode} + extra},
                                         {"SW2", {"bundle 1 ports P1,P2 mode " + sw2_mode}}});
    int active = 0;
    for (int p = 0; p < 2; ++p) {
        const PortStatus &status = network.state().devices[0].ports[p];
        const QString found = status.logical >= 0 ? QStringLiteral("active") : status.bundle_problem;
        QVERIFY2(found.contains(expected[p]), qPrintable(found));
        active += status.logical >= 0;
    }
    // Active members make one port for the spanning tree, so no loop.
    const int logical_ports = int(network.state().devices[0].logical.size());
    QCOMPARE(logical_ports, 8 - 2 + (active > 0 ? 1 : 0));
}

QTEST_GUILESS_MAIN(TestLabBundles)
#include "test_lab_bundles.moc"
