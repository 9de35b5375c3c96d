// The scenario bank's questions that compute a spanning tree, a path or a
// bundle from a diagram and an exhibit, rebuilt as lab networks: each answer
// becomes a fact about the simulated network, and the facts that hold must
// be the bank's right answers. A fact is clauses joined by " & ":
//   with DEV: COMMAND     change the network first (on a copy per answer)
//   frame A B             a frame from host A to host B, switches learning
//   root D | cost D N | blocked N | role D P ROLE | blocking D P | forwarding D P
//   inconsistent D P | suspended D P | bundle D B N | err D P | errcount N
//   reach A B | ping A ADDRESS | hears A B | macs D N | never
// A leading "!" negates a clause; "$1" stands for the bank's first answer.
#include "lab_samples.h"

#include <QFile>
#include <QJsonDocument>

class TestLabScenarios : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void bank_answers_data();
    void bank_answers();

private:
    QMap<int, QJsonObject> questions_;
};

using Commands = QMap<QString, QStringList>;

void TestLabScenarios::initTestCase()
{
    QFile file(QStringLiteral(SCENARIO_BANK));
    QVERIFY(file.open(QIODevice::ReadOnly));
    for (const QJsonValue &question : QJsonDocument::fromJson(file.readAll())["questions"].toArray())
        questions_[question["id"].toInt()] = question.toObject();
}

static bool clause_holds(Network &network, const QString &clause)
{
    if (clause.startsWith('!'))
        return !clause_holds(network, clause.mid(1));
    const QStringList w = clause.split(' ');
    const NetworkModel &model = network.model();
    const NetworkState &state = network.state();
    const int d = model.device_index(w.value(1));
    const int p = d >= 0 ? network.device(d).port_index(w.value(2)) : -1;
    const auto logical = [&]() -> const LogicalPort * {
        const int l = p >= 0 ? state.devices[d].ports[p].logical : -1;
        return l >= 0 ? &state.devices[d].logical[l] : nullptr;
    };
    if (w[0] == "with") {
        const int device = model.device_index(w[1].chopped(1));
        return !LabConsole(network, device).execute(w.mid(2).join(' ')).error;
    }
    if (w[0] == "frame")
        return !network.send_frame(d, model.device_index(w[2])).isEmpty();
    if (w[0] == "root")
        return state.devices[d].root_port < 0 && state.devices[d].root_id == state.devices[d].bridge_id;
    if (w[0] == "cost")
        return state.devices[d].root_cost == w[2].toInt();
    if (w[0] == "blocked") {
        int blocked = 0;
        for (const DeviceState &ds : state.devices)
            for (const LogicalPort &port : ds.logical)
                blocked += port.state == PortState::Blocking;
        return blocked == w[1].toInt();
    }
    if (w[0] == "role")
        return logical() && role_name(logical()->role) == w[3];
    if (w[0] == "blocking" || w[0] == "forwarding")
        return logical() && state_name(logical()->state, false) == w[0];
    if (w[0] == "inconsistent")
        return logical() && logical()->root_inconsistent;
    if (w[0] == "suspended")
        return !logical();
    if (w[0] == "bundle") {
        int active = 0;
        for (int q = 0; q < network.device(d).ports.size(); ++q)
            active += network.device(d).config.ports[q].bundle == w[2].toInt() && state.devices[d].ports[q].logical >= 0;
        return active == w[3].toInt();
    }
    if (w[0] == "err")
        return !state.devices[d].ports[p].err_disabled.isEmpty();
    if (w[0] == "errcount") {
        int count = 0;
        for (const DeviceState &ds : state.devices)
            for (const PortStatus &port : ds.ports)
                count += !port.err_disabled.isEmpty();
        return count == w[1].toInt();
    }
    if (w[0] == "reach")
        return network.reaches(d, model.device_index(w[2]));
    if (w[0] == "ping")
        return LabConsole(network, d).run("ping " + w[2]).startsWith("Reply");
    if (w[0] == "hears")
        return network.broadcast_reach(d).contains(model.device_index(w[2]));
    if (w[0] == "macs") {
        int hosts = 0;
        for (auto it = network.mac_table(d).begin(); it != network.mac_table(d).end(); ++it)
            for (const Device &device : model.devices)
                hosts += device.kind == DeviceKind::Host && device.mac == it.key().second;
        return hosts == w[2].toInt();
    }
    if (w[0] != "never")
        qWarning() << "unknown clause" << clause;
    return false;
}

static bool fact_holds(Network network, const QString &fact)
{
    for (const QString &clause : fact.split(" & "))
        if (!clause_holds(network, clause))
            return false;
    return true;
}

void TestLabScenarios::bank_answers_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("devices");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<Commands>("commands");
    QTest::addColumn<QStringList>("facts");  // one per answer; a typed answer has one

    const QString square = "SW-A=00-1C-0E-00-00-0A SW-B=00-1C-0E-00-00-0B SW-C=00-1C-0E-00-00-03 SW-D=00-1C-0E-00-00-01";
    const QStringList square_links{"SW-A P1 SW-B P1", "SW-B P2 SW-C P1 100", "SW-A P2 SW-D P1", "SW-D P2 SW-C P2"};
    const QStringList stp{"spanning-tree mode stp"};
    const Commands square_commands{{"SW-A", stp}, {"SW-B", stp + QStringList{"spanning-tree priority 24576"}}, {"SW-C", stp},
                                   {"SW-D", stp + QStringList{"spanning-tree priority 28672"}}};
    QTest::newRow("1 square: the blocked port") << 1 << square << square_links << square_commands
        << QStringList{"blocked 1 & blocking SW-B P2", "blocked 1 & blocking SW-C P1", "blocked 1 & blocking SW-C P2",
                       "blocked 1 & blocking SW-D P2", "blocked 1 & blocking SW-A P2"};
    QTest::newRow("2 square: root path cost") << 2 << square << square_links << square_commands << QStringList{"cost SW-C $1"};

    QTest::newRow("3 stored BPDUs: root port") << 3
        << "SW-E=00-50-3A-00-00-E1 R=00-50-3A-00-00-10 X=00-50-3A-00-00-21 Y=00-50-3A-00-00-3F"
        << QStringList{"SW-E P1 X P3", "SW-E P2 X P4", "SW-E P3 R P7 100", "SW-E P4 Y P1", "X P1 R P1", "Y P2 R P2"}
        << Commands{{"R", {"spanning-tree priority 4096"}}, {"Y", {"spanning-tree priority 28672"}}}
        << QStringList{"role SW-E P1 root", "role SW-E P2 root", "role SW-E P3 root", "role SW-E P4 root", "root SW-E"};

    const QStringList triangle{"SW2 P1 SW1 P1", "SW2 P2 SW3 P1", "SW1 P2 SW3 P2"};
    QTest::newRow("4 triangle") << 4 << "SW1=00-0D-4F-00-00-31 SW2=00-0D-4F-00-00-12 SW3=00-0D-4F-00-00-2C" << triangle
        << Commands{{"SW1", stp}, {"SW2", stp}, {"SW3", stp + QStringList{"spanning-tree priority 36864"}}}
        << QStringList{"blocking SW1 P2", "root SW2", "role SW1 P1 designated & role SW3 P1 designated", "blocking SW3 P2",
                       "blocked 0"};

    // The exhibit's roles first, then P1 fails.
    QTest::newRow("7 RSTP alternate becomes root port") << 7
        << "SW-K=00-60-2F-00-00-4B R=00-60-2F-00-00-01 X=00-60-2F-00-00-02 Y=00-60-2F-00-00-07 Z=00-60-2F-00-00-0C PC:host"
        << QStringList{"R P1 X P1", "X P2 SW-K P1", "X P3 Y P1", "X P4 Z P1", "Y P2 SW-K P2", "SW-K P3 SW-K P4 100",
                       "SW-K P5 PC P1", "Z P2 SW-K P6 100"}
        << Commands{{"R", {"spanning-tree priority 8192"}}, {"X", {"spanning-tree priority 16384"}},
                    {"Y", {"spanning-tree priority 24576"}}, {"SW-K", {"port P5 edge"}}}
        << QStringList{"cost SW-K 8 & role SW-K P1 root & role SW-K P2 alternate & role SW-K P3 designated & role SW-K P4 backup"
                       " & role SW-K P5 designated & role SW-K P6 alternate & with SW-K: port P1 shutdown & role SW-K $1 root"
                       " & forwarding SW-K $1"};

    QTest::newRow("13 root guard") << 13
        << "D1=00-16-3E-00-00-D1 D2=00-16-3E-00-00-D2 A2=00-16-3E-00-00-A2 LAB=00-0C-29-7F-00-01"
        << QStringList{"D1 P3 D2 P3", "D1 P1 A2 P1", "D2 P1 A2 P2", "A2 P7 LAB P1"}
        << Commands{{"D1", {"spanning-tree priority 4096"}}, {"D2", {"spanning-tree priority 8192"}},
                    {"A2", {"port P7 root-guard"}}, {"LAB", {"spanning-tree priority 0"}}}
        << [] {
               const QString before = "inconsistent A2 P7 & blocking A2 P7 & role A2 P1 root & with LAB: spanning-tree priority 61440 & ";
               return QStringList{before + "blocking A2 P7", before + "role A2 P7 designated & forwarding A2 P7",
                                  before + "role A2 P7 root", before + "blocking A2 P7", before + "root LAB"};
           }();

    QTest::newRow("17 LACP members") << 17 << "S1 S2#12"
        << QStringList{"S1 P1 S2 P5", "S1 P2 S2 P6 1000 half", "S1 P3 S2 P7", "S1 P4 S2 P8", "S1 P5 S2 P11"}
        << Commands{{"S1", {"bundle 1 ports P1,P2,P3,P4,P5 mode lacp-active", "port P3 priority 64"}},
                    {"S2", {"bundle 20 ports P5,P6,P7,P11 mode lacp-active", "bundle 30 ports P8 mode lacp-active"}}}
        << QStringList{"suspended S1 P1", "suspended S1 P2", "suspended S1 P3", "suspended S1 P4", "suspended S1 P5"};

    QTest::newRow("20 one bond to two switches") << 20 << "SW1#24 SW2#24 SRV#2"
        << QStringList{"SW1 P24 SW2 P24 10000", "SW1 P10 SRV P1", "SW2 P10 SRV P2"}
        << Commands{{"SW1", {"bundle 1 ports P10 mode lacp-active"}}, {"SW2", {"bundle 1 ports P10 mode lacp-active"}},
                    {"SRV", {"bundle 1 ports P1,P2 mode lacp-active"}}}
        << QStringList{"bundle SRV 1 1", "bundle SRV 1 2", "bundle SRV 1 2", "never", "bundle SRV 1 0"};

    QTest::newRow("26 MAC learning") << 26 << "SW1#24 SW2#24 A:host B:host C:host D:host"
        << QStringList{"SW1 P24 SW2 P23", "SW1 P1 A P1", "SW1 P2 B P1", "SW2 P4 C P1", "SW2 P6 D P1"} << Commands{}
        << QStringList{"frame A C & frame C A & frame D A & macs SW1 $1"};

    const QStringList allowed{"vlan 10", "vlan 20", "vlan 40", "vlan 50", "vlan 99", "port P48 trunk native 99"};
    QTest::newRow("30 VLAN left off a trunk") << 30 << "ACC-1#48 ACC-2#48 A10:host B10:host A20:host B20:host A40:host B40:host A50:host B50:host"
        << QStringList{"ACC-1 P48 ACC-2 P48 10000", "ACC-1 P1 A10 P1", "ACC-2 P1 B10 P1", "ACC-1 P17 A20 P1", "ACC-2 P13 B20 P1",
                       "ACC-1 P25 A40 P1", "ACC-2 P21 B40 P1", "ACC-1 P29 A50 P1", "ACC-2 P23 B50 P1"}
        << Commands{{"ACC-1", allowed + QStringList{"port P48 trunk allowed 10,20,40,50", "port P1 access vlan 10", "port P17 access vlan 20",
                                                    "port P25 access vlan 40", "port P29 access vlan 50"}},
                    {"ACC-2", allowed + QStringList{"vlan 60", "port P48 trunk allowed 10,20,50,60", "port P1 access vlan 10",
                                                    "port P13 access vlan 20", "port P21 access vlan 40", "port P23 access vlan 50"}},
                    {"A10", {"address 10.0.10.1/24"}}, {"B10", {"address 10.0.10.2/24"}}, {"A20", {"address 10.0.20.1/24"}},
                    {"B20", {"address 10.0.20.2/24"}}, {"A40", {"address 10.0.40.1/24"}}, {"B40", {"address 10.0.40.2/24"}},
                    {"A50", {"address 10.0.50.1/24"}}, {"B50", {"address 10.0.50.2/24"}}}
        << QStringList{"!reach A$1 B$1 & reach A10 B10 & reach A20 B20 & reach A50 B50"};

    QTest::newRow("31 native VLAN mismatch") << 31 << "SW1#24 SW2#24 H1:host H2:host H3:host"
        << QStringList{"SW1 P24 SW2 P24", "SW1 P5 H1 P1", "SW2 P3 H2 P1", "SW2 P7 H3 P1"}
        << Commands{{"SW1", {"vlan 10", "vlan 20", "vlan 99", "port P5 access vlan 99", "port P24 trunk allowed 10,20,99",
                             "port P24 trunk native 99"}},
                    {"SW2", {"vlan 10", "vlan 20", "vlan 99", "port P7 access vlan 99", "port P24 trunk allowed 1,10,20,99"}}}
        << QStringList{"hears H1 H3 & !hears H1 H2", "hears H1 H2 & !hears H1 H3", "hears H1 H2 & hears H1 H3",
                       "!hears H1 H2 & !hears H1 H3", "!hears H1 H2 & !hears H1 H3"};

    const QStringList r1{"interface P1.10 vlan 10 address 10.0.10.1/24", "interface P1.20 vlan 20 address 10.0.20.1/24",
                         "interface P1.30 vlan 13 address 10.0.30.1/24"};
    const QString works = " & ping PC-C 10.0.30.1 & reach PC-A PC-B";
    QTest::newRow("35 sub-interface in the wrong VLAN") << 35 << "R1:router DIST-2#24 PC-A:host PC-B:host PC-C:host"
        << QStringList{"R1 P1 DIST-2 P1", "DIST-2 P2 PC-A P1", "DIST-2 P3 PC-B P1", "DIST-2 P4 PC-C P1"}
        << Commands{{"R1", r1},
                    {"DIST-2", {"vlan 10", "vlan 20", "vlan 30", "port P1 trunk allowed 1,10,20,30", "port P2 access vlan 10",
                                "port P3 access vlan 20", "port P4 access vlan 30"}},
                    {"PC-A", {"address 10.0.10.21/24 gateway 10.0.10.1"}}, {"PC-B", {"address 10.0.20.35/24 gateway 10.0.20.1"}},
                    {"PC-C", {"address 10.0.30.40/24 gateway 10.0.30.1"}}}
        << QStringList{"with DIST-2: port P1 trunk native 30" + works, "with DIST-2: port P1 trunk allowed 1,10,13,20,30" + works,
                       "with R1: interface P1.30 vlan 30 address 10.0.30.1/24" + works, "with PC-C: gateway 10.0.10.1" + works,
                       "with R1: interface P1.30 vlan 13 address 10.0.30.1/16" + works};

    QTest::newRow("36 gateway in another subnet") << 36 << "DSW1#24 H1:host H2:host H3:host"
        << QStringList{"DSW1 P3 H1 P1", "DSW1 P11 H2 P1", "DSW1 P19 H3 P1"}
        << Commands{{"DSW1", {"vlan 10", "vlan 20", "vlan 30", "port P3 access vlan 10", "port P11 access vlan 30", "port P19 access vlan 20",
                              "interface vlan 10 address 172.16.10.1/24", "interface vlan 20 address 172.16.20.1/25",
                              "interface vlan 30 address 172.16.20.129/25"}},
                    {"H1", {"address 172.16.10.50/24 gateway 172.16.10.1"}}, {"H2", {"address 172.16.20.200/25 gateway 172.16.20.1"}},
                    {"H3", {"address 172.16.20.60/25 gateway 172.16.20.1"}}}
        << QStringList{"!reach H2 H1 & !reach H2 H3 & with H2: gateway $1 & reach H2 H1 & reach H2 H3"};

    // One more laptop on each desk switch than the exhibit's secure addresses.
    Commands desks{{"ACC-5", {"vlan 20"}}};
    QStringList desk_links;
    QString desk_devices = "ACC-5#12";
    const QVector<std::tuple<int, int, int, QString>> ports{
        {3, 2, 2, "shutdown"}, {5, 1, 1, "shutdown"}, {7, 3, 4, "restrict"}, {9, 2, 3, "shutdown"}, {11, 1, 2, "protect"}};
    for (const auto &[port, max, laptops, action] : ports) {
        const QString desk = QStringLiteral("DESK%1").arg(port);
        desk_devices += ' ' + desk;
        desk_links << QStringLiteral("ACC-5 P%1 %2 P8").arg(port).arg(desk);
        desks["ACC-5"] << QStringLiteral("port P%1 access vlan 20").arg(port) << QStringLiteral("port P%1 security max %2").arg(port).arg(max)
                       << QStringLiteral("port P%1 security violation %2").arg(port).arg(action);
        for (int i = 1; i <= laptops; ++i) {
            desk_devices += QStringLiteral(" L%1-%2:host").arg(port).arg(i);
            desk_links << QStringLiteral("%1 P%2 L%3-%2 P1").arg(desk).arg(i).arg(port);
        }
    }
    QTest::newRow("38 port security") << 38 << desk_devices << desk_links << desks << QStringList{"errcount 1 & err ACC-5 P$1"};
}

void TestLabScenarios::bank_answers()
{
    QFETCH(int, id);
    QFETCH(QString, devices);
    QFETCH(QStringList, links);
    QFETCH(Commands, commands);
    QFETCH(QStringList, facts);
    const QJsonObject question = questions_.value(id);
    const QJsonArray answers = question["answers"].toArray();
    const bool typed = question["question_type"].toString().startsWith("FILL");
    QCOMPARE(typed ? 1 : int(answers.size()), int(facts.size()));
    const Network network = lab_network(devices, links, commands);
    QVariantList held;
    for (int i = 0; i < facts.size(); ++i)
        if (fact_holds(network, QString(facts[i]).replace("$1", answers[0].toString())))
            held << i + 1;
    QCOMPARE(held, typed ? QVariantList{1} : question["correct"].toArray().toVariantList());
}

QTEST_GUILESS_MAIN(TestLabScenarios)
#include "test_lab_scenarios.moc"
