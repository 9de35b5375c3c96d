// The command language: every command and its no form, abbreviations,
// errors pointing at the wrong word, "?", Tab completion, show config
// rebuilding the configuration, and the history.
#include "lab_samples.h"
#include "lab/device_commands.h"

class TestLabCommands : public QObject {
    Q_OBJECT

private slots:
    void every_command_and_its_no_form();
    void errors_data();
    void errors();
    void abbreviations_data();
    void abbreviations();
    void question_mark_data();
    void question_mark();
    void completion_data();
    void completion();
    void config_round_trip();
    void console_output_data();
    void console_output();
    void history();
};

static Network sample_network()
{
    return lab_network("SW1 R1:router PC1:host", {"SW1 P1 PC1 P1", "SW1 P8 R1 P1"});
}

static int device_for(unsigned devices)
{
    return devices & OnSwitch ? 0 : devices & OnRouter ? 1 : 2;
}

// A line of the command with a plausible value in each place.
static QString sample_line(const QString &pattern)
{
    static const QMap<QString, QString> values{
        {"<vlan>", "20"}, {"<vlans>", "10,20"}, {"<port>", "P1"}, {"<ports>", "P1,P2"}, {"<name>", "Sales"},
        {"<cost>", "100"}, {"<port-priority>", "64"}, {"<bridge-priority>", "4096"}, {"<count>", "2"},
        {"<bundle>", "1"}, {"<address/length>", "10.0.0.1/24"}, {"<address>", "10.0.0.254"}, {"<target>", "PC1"},
        {"<port.vlan>", "P1.20"}};
    QStringList words;
    for (const QString &word : pattern.split(' '))
        words << (word.startsWith('{') ? word.mid(1).section('|', 0, 0) : values.value(word, word));
    return words.join(' ');
}

void TestLabCommands::every_command_and_its_no_form()
{
    for (const Command &command : commands()) {
        Network network = sample_network();
        const int d = device_for(command.devices);
        LabConsole console(network, d);
        const QString line = sample_line(command.pattern);
        const ParsedCommand parsed = parse_command(line, console.context());
        QVERIFY2(parsed.command == &command, qPrintable(line + ": " + parsed.error));
        if (command.negated || command.action <= Action::Ping)
            continue;
        const ConsoleReply reply = console.execute(line);
        QVERIFY2(!reply.error, qPrintable(line + ": " + reply.text));
        const QStringList config = config_commands(network.device(d));
        QVERIFY2(config.contains(line), qPrintable(line + " not in " + config.join(" | ")));
        // show config rebuilds it on a fresh device.
        Network fresh = sample_network();
        QVERIFY(configure(fresh, d, config).isEmpty());
        QCOMPARE(config_commands(fresh.device(d)), config);
        // The no form takes it away.
        const auto undo = std::find_if(commands().begin(), commands().end(),
                                       [&](const Command &c) { return c.negated && c.action == command.action; });
        QVERIFY2(undo != commands().end(), qPrintable(line));
        const QString no_line = sample_line(undo->pattern);
        QCOMPARE(console.run(no_line), QString());
        QVERIFY2(!config_commands(network.device(d)).contains(line), qPrintable(no_line));
    }
}

void TestLabCommands::errors_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown word") << 0 << "port P1 trnk" << 8 << "Unknown word 'trnk': expected one of access, trunk, shutdown";
    QTest::newRow("ambiguous word") << 0 << "s vlans" << 0 << "Ambiguous word 's': could be show, spanning-tree";
    QTest::newRow("VLAN out of range") << 0 << "vlan 4095" << 5 << "Bad value '4095' (out of range): expected <vlan>";
    QTest::newRow("no such port") << 0 << "port P9 shutdown" << 5 << "Bad value 'P9' (no such port on this device)";
    QTest::newRow("priority step") << 0 << "spanning-tree priority 5000" << 23 << "(not a multiple of 4096)";
    QTest::newRow("port priority step") << 0 << "port P1 priority 100" << 17 << "(not a multiple of 16)";
    QTest::newRow("bad VLAN list") << 0 << "port P1 trunk allowed 10-5" << 22 << "(not a VLAN list)";
    QTest::newRow("bundle of nine") << 0 << "bundle 1 ports P1,P2,P3,P4,P5,P6,P7,P8,P1 mode static" << 15 << "P1 twice";
    QTest::newRow("too much") << 0 << "show vlans now" << 11 << "Unexpected word 'now': the command ends before it";
    QTest::newRow("incomplete") << 0 << "port P1" << 7 << "Incomplete command: expected one of access, trunk";
    QTest::newRow("not on a switch") << 0 << "ping PC1" << 0 << "Unknown word 'ping'";
    QTest::newRow("not on a host") << 2 << "vlan 10" << 0 << "Unknown word 'vlan': expected one of show, ping, address";
    QTest::newRow("bad address") << 2 << "address 10.0.0.300/24" << 8 << "not an address/length";
    QTest::newRow("prefix too long") << 2 << "address 10.0.0.1/31" << 8 << "not an address/length";
    QTest::newRow("bad sub-interface") << 1 << "interface P1-20 vlan 20 address 10.0.0.1/24" << 10 << "e.g. P1.20";
    QTest::newRow("unknown ping target") << 2 << "ping PC7" << 5 << "neither an address nor a device";
    QTest::newRow("line too long") << 0 << QString(300, 'x') << 256 << "longer than 256 characters";
    QTest::newRow("VLAN 1 stays") << 0 << "no vlan 1" << -1 << "VLAN 1 cannot be deleted";
    QTest::newRow("port in another bundle") << 0 << "bundle 2 ports P2 mode static" << -1 << "P2 is already in bundle 1";
}

void TestLabCommands::errors()
{
    QFETCH(int, device);
    QFETCH(QString, line);
    QFETCH(int, column);
    QFETCH(QString, message);
    Network network = sample_network();
    LabConsole console(network, device);
    console.run("bundle 1 ports P2,P3 mode static");
    const ConsoleReply reply = console.execute(line);
    QVERIFY(reply.error);
    QVERIFY2(reply.text.contains(message), qPrintable(reply.text));
    if (column >= 0) {
        const QStringList lines = reply.text.split('\n');
        QCOMPARE(lines[1], QString(column, ' ') + '^');
    }
}

void TestLabCommands::abbreviations_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("sh sp") << "sh sp" << "show spanning-tree";
    QTest::newRow("sh mac") << "sh mac" << "show mac-table";
    QTest::newRow("case") << "SHOW Config" << "show config";
    QTest::newRow("sp m s") << "sp m s" << "spanning-tree mode {stp|rstp}";
    QTest::newRow("po p1 tr al") << "po p1 tr al 10" << "port <port> trunk allowed <vlans>";
    QTest::newRow("no po p1 sh") << "no po p1 sh" << "no port <port> shutdown";
    QTest::newRow("bu with choice") << "bu 2 p P4,p5 m lacp-a" << "bundle <bundle> ports <ports> mode {static|lacp-active|lacp-passive}";
}

void TestLabCommands::abbreviations()
{
    QFETCH(QString, typed);
    QFETCH(QString, pattern);
    Network network = sample_network();
    const ParsedCommand parsed = parse_command(typed, LabConsole(network, 0).context());
    QVERIFY2(parsed.command, qPrintable(parsed.error));
    QCOMPARE(parsed.command->pattern, pattern);
}

void TestLabCommands::question_mark_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("not_expected");
    QTest::newRow("start on a host") << 2 << "" << QStringList{"show", "ping", "address", "no"} << QStringList{"vlan", "port"};
    QTest::newRow("after port") << 0 << "port P1 " << QStringList{"access", "trunk", "security", "Make the port a trunk"} << QStringList{"<Enter>"};
    QTest::newRow("a value") << 0 << "vlan " << QStringList{"<vlan>", "a VLAN number, 1-4094"} << QStringList{};
    QTest::newRow("command may end") << 0 << "vlan 10 " << QStringList{"<Enter>", "name"} << QStringList{};
    QTest::newRow("partial word") << 0 << "sh" << QStringList{"show"} << QStringList{"spanning-tree"};
    QTest::newRow("partial value") << 0 << "port P" << QStringList{"<port>", "a port of this device"} << QStringList{"Nothing"};
    QTest::newRow("after an error") << 0 << "port P1 trnk " << QStringList{"^", "Unknown word 'trnk'"} << QStringList{};
}

void TestLabCommands::question_mark()
{
    QFETCH(int, device);
    QFETCH(QString, line);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, not_expected);
    Network network = sample_network();
    LabConsole console(network, device);
    const QString help = console.run(line + '?');
    QCOMPARE(help, console.help_for(line));
    for (const QString &text : expected)
        QVERIFY2(help.contains(text), qPrintable(help));
    for (const QString &text : not_expected)
        QVERIFY2(!help.contains(text), qPrintable(help));
}

void TestLabCommands::completion_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QString>("partial");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("keyword") << 0 << "sh sp" << QStringList{"sh spanning-tree "};
    QTest::newRow("first word") << 0 << "sp" << QStringList{"spanning-tree "};
    QTest::newRow("choice") << 0 << "spanning-tree mode " << QStringList{"spanning-tree mode stp ", "spanning-tree mode rstp "};
    QTest::newRow("port names") << 1 << "port p" << QStringList{"port P1 ", "port P2 ", "port P3 ", "port P4 ", "port P5 ", "port P6 ", "port P7 ", "port P8 "};
    QTest::newRow("device names") << 2 << "ping p" << QStringList{"ping PC1 "};
    QTest::newRow("nothing after an error") << 0 << "port P1 trnk " << QStringList{};
    QTest::newRow("no such word") << 0 << "port P1 x" << QStringList{};
}

void TestLabCommands::completion()
{
    QFETCH(int, device);
    QFETCH(QString, partial);
    QFETCH(QStringList, expected);
    Network network = sample_network();
    QCOMPARE(LabConsole(network, device).complete(partial), expected);
}

void TestLabCommands::config_round_trip()
{
    Network network = sample_network();
    const QStringList lines{"spanning-tree mode stp", "spanning-tree priority 8192", "vlan 10 name Staff", "vlan 20",
                            "port P1 access vlan 10", "port P2 trunk allowed 1,10,20-30", "port P2 trunk native 20",
                            "port P3 edge", "port P3 bpdu-guard", "port P4 security max 3", "port P4 security violation protect",
                            "bundle 2 ports P5,P6 mode lacp-passive", "interface vlan 10 address 10.0.10.2/24"};
    QVERIFY(configure(network, 0, lines).isEmpty());
    const QString shown = LabConsole(network, 0).run("show config");
    Network fresh = sample_network();
    QVERIFY(configure(fresh, 0, shown.split('\n')).isEmpty());
    QCOMPARE(LabConsole(fresh, 0).run("show config"), shown);
    QCOMPARE(shown.count(QLatin1Char('\n')) + 1, lines.size() + 2);  // "port P2 trunk" and "port P4 security" written out
}

void TestLabCommands::console_output_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");  // in the last line's output
    QTest::newRow("show vlans") << 0 << QStringList{"vlan 20 name Sales", "port P3 access vlan 20", "show vlans"} << "20    Sales            P3";
    QTest::newRow("show ports") << 0 << QStringList{"port P2 access vlan 30", "show ports"} << "access 30 (no such VLAN: inactive)";
    QTest::newRow("show trunks") << 0 << QStringList{"port P8 trunk allowed 10,20", "show trunks"} << "P8         10,20";
    QTest::newRow("show spanning-tree") << 0 << QStringList{"show spanning-tree"} << "This switch is the root bridge";
    QTest::newRow("show bundles") << 0 << QStringList{"bundle 3 ports P4 mode lacp-active", "show bundles"}
                                  << "P4      suspended: link down";
    QTest::newRow("show interfaces") << 1 << QStringList{"interface P1.20 vlan 20 address 10.0.20.1/24", "show interfaces"}
                                     << "P1.20      20    10.0.20.1/24";
    QTest::newRow("ping without address") << 2 << QStringList{"ping 10.0.0.9"} << "No reply from 10.0.0.9: PC1 has no address";
    QTest::newRow("ping the router") << 2 << QStringList{"address 10.0.20.5/24", "ping R1"} << "No reply from 10.0.20.1: nothing answers";
    QTest::newRow("empty table") << 0 << QStringList{"clear mac-table", "show mac-table"} << "The MAC address table is empty";
}

void TestLabCommands::console_output()
{
    QFETCH(int, device);
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);
    Network network = sample_network();
    LabConsole(network, 1).run("interface P1.20 vlan 20 address 10.0.20.1/24");
    LabConsole console(network, device);
    QString output;
    for (const QString &line : lines)
        output = console.run(line);
    QVERIFY2(output.contains(expected), qPrintable(output));
}

void TestLabCommands::history()
{
    CommandHistory history;
    QCOMPARE(history.up(), QString());
    for (int i = 0; i < 150; ++i)
        history.add(QStringLiteral("vlan %1").arg(i));
    history.add("vlan 149");
    history.add("   ");
    QCOMPARE(history.size(), 100);
    QCOMPARE(history.up(), QStringLiteral("vlan 149"));
    QCOMPARE(history.up(), QStringLiteral("vlan 148"));
    QCOMPARE(history.down(), QStringLiteral("vlan 149"));
    QCOMPARE(history.down(), QString());
    for (int i = 0; i < 120; ++i)
        history.up();
    QCOMPARE(history.up(), QStringLiteral("vlan 50"));
}

QTEST_GUILESS_MAIN(TestLabCommands)
#include "test_lab_commands.moc"
