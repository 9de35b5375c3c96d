// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/grammar.h"

#include "lab/ipv4.h"
#include "lab/lab_limits.h"
#include "lab/vlan_set.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

struct Entry {
    unsigned devices;
    const char *pattern;
    int no_words;  // words the no form keeps; 0: it has none
    Action action;
    const char *help;
};

// The command language. Order matters only for listings.
const Entry table[] = {
    {OnSwitch, "show vlans", 0, Action::ShowVlans, "List the VLANs and their access ports"},
    {OnSwitch | OnRouter, "show ports", 0, Action::ShowPorts, "List the ports: link, mode, VLANs, spanning tree state"},
    {OnSwitch, "show trunks", 0, Action::ShowTrunks, "List the trunks with their allowed and native VLANs"},
    {OnSwitch, "show spanning-tree", 0, Action::ShowSpanningTree, "Show the root bridge and each port's role, state and cost"},
    {OnSwitch, "show bundles", 0, Action::ShowBundles, "List the bundles and why members are suspended"},
    {OnSwitch, "show mac-table", 0, Action::ShowMacTable, "List the MAC addresses learned, per VLAN and port"},
    {OnSwitch | OnRouter, "show interfaces", 0, Action::ShowInterfaces, "List the routed interfaces and their addresses"},
    {OnAll, "show config", 0, Action::ShowConfig, "List this device's configuration as commands"},
    {OnSwitch, "clear mac-table", 0, Action::ClearMacTable, "Empty the MAC address table"},
    {OnHost, "ping <target>", 0, Action::Ping, "Send a ping and tell whether the answer comes back"},
    {OnSwitch, "vlan <vlan>", 2, Action::Vlan, "Create a VLAN"},
    {OnSwitch, "vlan <vlan> name <name>", 3, Action::VlanName, "Create a VLAN with a name, or rename it"},
    {OnSwitch, "port <port> access vlan <vlan>", 3, Action::PortAccess, "Make the port an access port of a VLAN"},
    {OnSwitch, "port <port> trunk", 3, Action::PortTrunk, "Make the port a trunk"},
    {OnSwitch, "port <port> trunk allowed <vlans>", 4, Action::PortAllowed, "Make the port a trunk carrying these VLANs only"},
    {OnSwitch, "port <port> trunk native <vlan>", 4, Action::PortNative, "Make the port a trunk sending this VLAN untagged"},
    {OnSwitch | OnRouter, "port <port> shutdown", 3, Action::PortShutdown, "Turn the port off"},
    {OnSwitch, "port <port> edge", 3, Action::PortEdge, "Mark the port as an edge port, towards hosts only"},
    {OnSwitch, "port <port> bpdu-guard", 3, Action::PortBpduGuard, "Err-disable the port when a BPDU arrives"},
    {OnSwitch, "port <port> root-guard", 3, Action::PortRootGuard, "Keep the port from becoming the root port"},
    {OnSwitch, "port <port> cost <cost>", 3, Action::PortCost, "Set the port's spanning tree path cost"},
    {OnSwitch, "port <port> priority <port-priority>", 3, Action::PortPriority, "Set the port's spanning tree priority"},
    {OnSwitch, "port <port> security", 3, Action::PortSecurity, "Turn port security on (1 address, shutdown)"},
    {OnSwitch, "port <port> security max <count>", 4, Action::PortSecurityMax, "Turn port security on with a maximum of addresses"},
    {OnSwitch, "port <port> security violation {restrict|protect|shutdown}", 4, Action::PortSecurityViolation,
     "Turn port security on with this action on too many addresses"},
    {OnSwitch, "port <port> security sticky", 4, Action::PortSecuritySticky, "Keep the learned secure addresses in the configuration"},
    {OnSwitch, "bundle <bundle> ports <ports> mode {static|lacp-active|lacp-passive}", 2, Action::Bundle,
     "Bundle ports into one link"},
    {OnSwitch, "spanning-tree mode {stp|rstp}", 2, Action::SpanningTreeMode, "Run 802.1D (stp) or rapid 802.1w (rstp, the default)"},
    {OnSwitch, "spanning-tree priority <bridge-priority>", 2, Action::SpanningTreePriority, "Set the bridge priority"},
    {OnSwitch, "interface vlan <vlan> address <address/length>", 3, Action::VlanInterface, "Route for a VLAN with this address"},
    {OnRouter, "interface <port.vlan> vlan <vlan> address <address/length>", 2, Action::SubInterface,
     "Route for a VLAN on a trunk port, frames tagged with the VLAN"},
    {OnHost, "address <address/length>", 1, Action::HostAddress, "Give the host an address"},
    {OnHost, "address <address/length> gateway <address>", 1, Action::HostAddress, "Give the host an address and a default gateway"},
    {OnHost, "gateway <address>", 1, Action::HostGateway, "Give the host a default gateway"},
};

enum class Value { Number, VlanList, Port, PortList, Name, Prefix, Address, Target, SubInterface };

struct Placeholder {
    const char *name;
    Value kind;
    int min, max, step;
    const char *help;
};

const Placeholder placeholders[] = {
    {"<vlan>", Value::Number, 1, 4094, 1, "a VLAN number, 1-4094"},
    {"<vlans>", Value::VlanList, 0, 0, 0, "VLAN numbers and ranges, e.g. 10,20,30-40, or all"},
    {"<port>", Value::Port, 0, 0, 0, "a port of this device, e.g. P1"},
    {"<ports>", Value::PortList, 0, 0, 0, "ports separated by commas, e.g. P7,P8 (at most 8)"},
    {"<name>", Value::Name, 0, 0, 0, "a name: letters, digits, - and _ (at most 32)"},
    {"<cost>", Value::Number, 1, 200000000, 1, "a path cost, 1-200000000"},
    {"<port-priority>", Value::Number, 0, 240, 16, "0-240 in steps of 16 (default 128)"},
    {"<bridge-priority>", Value::Number, 0, 61440, 4096, "0-61440 in steps of 4096 (default 32768)"},
    {"<count>", Value::Number, 1, lab_limits::max_security_addresses, 1, "a number of addresses, 1-64"},
    {"<bundle>", Value::Number, 1, lab_limits::max_bundle_id, 1, "a bundle number, 1-64"},
    {"<address/length>", Value::Prefix, 0, 0, 0, "an IPv4 address and prefix length 1-30, e.g. 10.0.20.11/24"},
    {"<address>", Value::Address, 0, 0, 0, "an IPv4 address, e.g. 10.0.20.1"},
    {"<target>", Value::Target, 0, 0, 0, "an IPv4 address or a device's name"},
    {"<port.vlan>", Value::SubInterface, 0, 0, 0, "a port and a VLAN number, e.g. P1.20"},
};

struct Element {
    QStringList words;                    // a keyword, or a choice's words
    const Placeholder *value = nullptr;  // or a value
    bool choice = false;
};

struct Compiled {
    const Command *command;
    QVector<Element> elements;
};

Element compile_word(const QString &word)
{
    Element element;
    if (word.startsWith(QLatin1Char('<'))) {
        for (const Placeholder &placeholder : placeholders)
            if (word == QLatin1String(placeholder.name))
                element.value = &placeholder;
        Q_ASSERT(element.value);
    } else if (word.startsWith(QLatin1Char('{'))) {
        element.words = word.mid(1, word.size() - 2).split(QLatin1Char('|'));
        element.choice = true;
    } else {
        element.words = {word};
    }
    return element;
}

const QVector<Compiled> &compiled()
{
    static const QVector<Compiled> result = [] {
        QVector<Compiled> list;
        for (const Command &command : commands()) {
            Compiled entry{&command, {}};
            for (const QString &word : command.pattern.split(QLatin1Char(' ')))
                entry.elements << compile_word(word);
            list << entry;
        }
        return list;
    }();
    return result;
}

// Checks a value; returns what is wrong, or nothing, and the value as kept.
QString check_value(const Placeholder &placeholder, const QString &word, const ParseContext &context, QString *kept)
{
    *kept = word;
    const auto port_name = [&](const QString &name) -> QString {
        for (const QString &port : context.ports)
            if (port.compare(name, Qt::CaseInsensitive) == 0)
                return port;
        return {};
    };
    switch (placeholder.kind) {
    case Value::Number: {
        bool ok = false;
        const int number = word.toInt(&ok);
        if (!ok || word.size() > 10)
            return QStringLiteral("not a number");
        if (number < placeholder.min || number > placeholder.max)
            return QStringLiteral("out of range");
        if (number % placeholder.step != 0)
            return QStringLiteral("not a multiple of %1").arg(placeholder.step);
        return {};
    }
    case Value::VlanList: {
        bool ok = false;
        VlanSet::parse(word, &ok);
        return ok ? QString() : QStringLiteral("not a VLAN list");
    }
    case Value::Port:
        *kept = port_name(word);
        return kept->isEmpty() ? QStringLiteral("no such port on this device") : QString();
    case Value::PortList: {
        QStringList names;
        for (const QString &item : word.split(QLatin1Char(','))) {
            const QString name = port_name(item);
            if (name.isEmpty())
                return QStringLiteral("no port '%1' on this device").arg(item);
            if (names.contains(name))
                return QStringLiteral("%1 twice").arg(name);
            names << name;
        }
        if (names.size() > lab_limits::max_bundle_members)
            return QStringLiteral("more than %1 ports").arg(lab_limits::max_bundle_members);
        *kept = names.join(QLatin1Char(','));
        return {};
    }
    case Value::Name: {
        static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_-]{1,32}$"));
        return name.match(word).hasMatch() ? QString() : QStringLiteral("not a name");
    }
    case Value::Prefix: {
        Ipv4Interface ip;
        return parse_ipv4_prefix(word, &ip) ? QString() : QStringLiteral("not an address/length");
    }
    case Value::Address: {
        quint32 address = 0;
        return parse_ipv4(word, &address) ? QString() : QStringLiteral("not an IPv4 address");
    }
    case Value::Target: {
        quint32 address = 0;
        if (parse_ipv4(word, &address))
            return {};
        for (const QString &device : context.devices)
            if (device.compare(word, Qt::CaseInsensitive) == 0) {
                *kept = device;
                return {};
            }
        return QStringLiteral("neither an address nor a device");
    }
    case Value::SubInterface: {
        const int dot = word.lastIndexOf(QLatin1Char('.'));
        bool ok = false;
        const int vlan = word.mid(dot + 1).toInt(&ok);
        const QString port = dot > 0 ? port_name(word.left(dot)) : QString();
        if (port.isEmpty() || !ok || !VlanSet::valid_id(vlan))
            return QStringLiteral("not a port of this device, a dot and a VLAN");
        *kept = QStringLiteral("%1.%2").arg(port).arg(vlan);
        return {};
    }
    }
    return {};
}

struct Token {
    QString text;
    int column;
};

QVector<Token> tokenize(const QString &line)
{
    QVector<Token> tokens;
    for (int i = 0; i < line.size();) {
        if (line[i].isSpace()) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < line.size() && !line[i].isSpace())
            ++i;
        tokens << Token{line.mid(start, i - start), start};
    }
    return tokens;
}

// The words a keyword place offers, each once, in table order.
QStringList keywords_at(const QVector<const Compiled *> &alive, int position)
{
    QStringList words;
    for (const Compiled *entry : alive)
        if (position < entry->elements.size())
            for (const QString &word : entry->elements[position].words)
                if (!words.contains(word))
                    words << word;
    return words;
}

QStringList values_at(const QVector<const Compiled *> &alive, int position)
{
    QStringList names;
    for (const Compiled *entry : alive)
        if (position < entry->elements.size() && entry->elements[position].value
            && !names.contains(QLatin1String(entry->elements[position].value->name)))
            names << QLatin1String(entry->elements[position].value->name);
    return names;
}

QString expected_text(const QVector<const Compiled *> &alive, int position)
{
    QStringList all = keywords_at(alive, position) + values_at(alive, position);
    return all.size() == 1 ? all.front() : QStringLiteral("one of %1").arg(all.join(QStringLiteral(", ")));
}

// Walks the tokens through the table; stops at the first one that fits no
// command, with the error set.
struct Walk {
    QVector<const Compiled *> alive;
    ParsedCommand parsed;
};

Walk walk(const QVector<Token> &tokens, const ParseContext &context)
{
    Walk result;
    const unsigned mask = mask_of(context.kind);
    for (const Compiled &entry : compiled())
        if (entry.command->devices & mask)
            result.alive << &entry;
    for (int i = 0; i < tokens.size(); ++i) {
        const Token &token = tokens[i];
        QVector<const Compiled *> longer;
        for (const Compiled *entry : result.alive)
            if (i < entry->elements.size())
                longer << entry;
        result.parsed.error_column = token.column;
        if (longer.isEmpty()) {
            result.parsed.error = QStringLiteral("Unexpected word '%1': the command ends before it").arg(token.text);
            return result;
        }
        const QStringList keywords = keywords_at(longer, i);
        QStringList matching;
        for (const QString &word : keywords)
            if (word.compare(token.text, Qt::CaseInsensitive) == 0)
                matching = {word};
        if (matching.isEmpty())
            for (const QString &word : keywords)
                if (word.startsWith(token.text, Qt::CaseInsensitive))
                    matching << word;
        QVector<const Compiled *> next;
        QString value_problem;
        QString kept;
        if (matching.size() == 1) {
            for (const Compiled *entry : longer)
                if (entry->elements[i].words.contains(matching.front()))
                    next << entry;
            if (next.front()->elements[i].choice)
                result.parsed.values << matching.front();
        } else {
            for (const Compiled *entry : longer) {
                const Placeholder *value = entry->elements[i].value;
                if (!value)
                    continue;
                const QString problem = check_value(*value, token.text, context, &kept);
                if (problem.isEmpty())
                    next << entry;
                else if (value_problem.isEmpty())
                    value_problem = QStringLiteral("Bad value '%1' (%2): expected %3, %4")
                                        .arg(token.text, problem, QLatin1String(value->name), QLatin1String(value->help));
            }
            if (!next.isEmpty())
                result.parsed.values << kept;
        }
        if (next.isEmpty()) {
            if (matching.size() > 1)
                result.parsed.error = QStringLiteral("Ambiguous word '%1': could be %2").arg(token.text, matching.join(QStringLiteral(", ")));
            else if (!value_problem.isEmpty() && keywords.isEmpty())
                result.parsed.error = value_problem;
            else
                result.parsed.error = QStringLiteral("Unknown word '%1': expected %2").arg(token.text, expected_text(longer, i));
            return result;
        }
        result.alive = next;
    }
    return result;
}

QString help_of(const Compiled *entry, int position)
{
    if (entry->command->negated && position == 0)
        return QStringLiteral("Undo a setting, back to its default");
    return entry->command->help;
}

} // namespace

unsigned mask_of(DeviceKind kind)
{
    return kind == DeviceKind::Switch ? OnSwitch : kind == DeviceKind::Router ? OnRouter : OnHost;
}

const QVector<Command> &commands()
{
    static const QVector<Command> list = [] {
        QVector<Command> all;
        for (const Entry &entry : table)
            all << Command{entry.devices, QLatin1String(entry.pattern), entry.action, false, QLatin1String(entry.help)};
        for (const Entry &entry : table) {
            if (entry.no_words == 0)
                continue;
            const QString pattern = QStringLiteral("no ")
                                    + QString::fromLatin1(entry.pattern).split(QLatin1Char(' ')).mid(0, entry.no_words).join(QLatin1Char(' '));
            const bool known = std::any_of(all.begin(), all.end(), [&](const Command &c) { return c.pattern == pattern; });
            if (!known)
                all << Command{entry.devices, pattern, entry.action, true, QLatin1String(entry.help)};
        }
        return all;
    }();
    return list;
}

ParsedCommand parse_command(const QString &line, const ParseContext &context)
{
    if (line.size() > lab_limits::max_line_length) {
        ParsedCommand parsed;
        parsed.error_column = lab_limits::max_line_length;
        parsed.error = QStringLiteral("The line is longer than %1 characters").arg(lab_limits::max_line_length);
        return parsed;
    }
    const QVector<Token> tokens = tokenize(line);
    Walk result = walk(tokens, context);
    if (!result.parsed.error.isEmpty())
        return result.parsed;
    for (const Compiled *entry : result.alive)
        if (entry->elements.size() == tokens.size()) {
            result.parsed.command = entry->command;
            return result.parsed;
        }
    result.parsed.error_column = int(line.trimmed().isEmpty() ? 0 : line.size());
    result.parsed.error = tokens.isEmpty() ? QStringLiteral("Type a command, or ? for the list")
                                           : QStringLiteral("Incomplete command: expected %1").arg(expected_text(result.alive, tokens.size()));
    return result.parsed;
}

QString error_with_caret(const QString &line, const ParsedCommand &parsed)
{
    const int column = qMin(parsed.error_column, lab_limits::max_line_length);
    return QStringLiteral("%1\n%2^\n%3").arg(line.left(lab_limits::max_line_length), QString(column, QLatin1Char(' ')), parsed.error);
}

// The tokens before the word being typed, and that word (empty after a space).
static QVector<Token> split_partial(const QString &line, QString *last)
{
    QVector<Token> tokens = tokenize(line.left(lab_limits::max_line_length));
    last->clear();
    if (!tokens.isEmpty() && !line.back().isSpace())
        *last = tokens.takeLast().text;
    return tokens;
}

QString help_for(const QString &line, const ParseContext &context)
{
    QString last;
    const QVector<Token> tokens = split_partial(line, &last);
    const Walk result = walk(tokens, context);
    if (!result.parsed.error.isEmpty())
        return error_with_caret(line, result.parsed);
    const int position = tokens.size();
    QStringList lines;
    const auto add = [&](const QString &word, const QString &help) {
        const QString row = QStringLiteral("  %1  %2").arg(word, -18).arg(help);
        if (!lines.contains(row))
            lines << row;
    };
    for (const Compiled *entry : result.alive) {
        if (position == entry->elements.size() && last.isEmpty())
            add(QStringLiteral("<Enter>"), help_of(entry, 1));
        if (position >= entry->elements.size())
            continue;
        const Element &element = entry->elements[position];
        if (element.value)
            add(QLatin1String(element.value->name), QLatin1String(element.value->help));
        for (const QString &word : element.words)
            if (word.startsWith(last, Qt::CaseInsensitive))
                add(word, help_of(entry, position));
    }
    return lines.isEmpty() ? QStringLiteral("Nothing here starts with '%1'").arg(last) : lines.join(QLatin1Char('\n'));
}

QStringList completions(const QString &line, const ParseContext &context)
{
    QString last;
    const QVector<Token> tokens = split_partial(line, &last);
    const Walk result = walk(tokens, context);
    if (!result.parsed.error.isEmpty())
        return {};
    const int position = tokens.size();
    const QString stem = line.left(line.size() - last.size());
    QStringList words;
    for (const Compiled *entry : result.alive) {
        if (position >= entry->elements.size())
            continue;
        const Element &element = entry->elements[position];
        QStringList offered = element.words;
        if (element.value && (element.value->kind == Value::Port || element.value->kind == Value::PortList))
            offered = context.ports;
        else if (element.value && element.value->kind == Value::Target)
            offered = context.devices;
        for (const QString &word : offered)
            if (word.startsWith(last, Qt::CaseInsensitive) && !words.contains(word))
                words << word;
    }
    QStringList lines;
    for (const QString &word : words)
        lines << stem + word + QLatin1Char(' ');
    return lines;
}

QString full_help(unsigned devices)
{
    QStringList lines;
    for (const Command &command : commands()) {
        if (!(command.devices & devices) || command.negated)
            continue;
        QStringList on;
        for (const auto &[bit, name] : {std::pair(OnSwitch, "switch"), std::pair(OnRouter, "router"), std::pair(OnHost, "host")})
            if (command.devices & bit)
                on << QLatin1String(name);
        QString no;
        for (const Command &other : commands())
            if (other.negated && other.action == command.action)
                no = other.pattern;
        lines << QStringLiteral("%1\n    %2 (%3)%4").arg(command.pattern, command.help, on.join(QStringLiteral(", ")),
                                                          no.isEmpty() ? QString() : QStringLiteral("; undo: ") + no);
    }
    lines << QStringLiteral("\nValues:");
    for (const Placeholder &placeholder : placeholders)
        lines << QStringLiteral("  %1  %2").arg(QLatin1String(placeholder.name), -18).arg(QLatin1String(placeholder.help));
    lines << QStringLiteral("\nWords may be shortened while no other word in their place starts the same way;\n"
                            "? lists what may come next, Tab completes.");
    return lines.join(QLatin1Char('\n'));
}
