// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_definition.h"

#include "lab/lab_console.h"
#include "lab/lab_limits.h"
#include "lab/show_output.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>

namespace {

// The first values of a list, so that a hostile one is not read to its end.
QVector<QJsonValue> first_of(const QJsonArray &list, int count)
{
    QVector<QJsonValue> values;
    for (int i = 0; i < qMin(count, int(list.size())); ++i)
        values << list[i];
    return values;
}

bool valid_name(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z][A-Za-z0-9_/-]{0,31}$"));
    return pattern.match(name).hasMatch();
}

QStringList read_ports(const QJsonObject &json, DeviceKind kind, QStringList *problems, const QString &device)
{
    const QJsonValue ports = json.value(QLatin1String("ports"));
    QStringList names;
    if (ports.isDouble()) {
        const int count = ports.toInt(-1);
        if (count < 1 || count > lab_limits::max_ports_per_device)
            *problems << QStringLiteral("%1: 1 to %2 ports").arg(device).arg(lab_limits::max_ports_per_device);
        for (int i = 1; i <= qBound(0, count, lab_limits::max_ports_per_device); ++i)
            names << QStringLiteral("P%1").arg(i);
    } else if (ports.isArray()) {
        const QJsonArray list = ports.toArray();
        if (list.isEmpty() || list.size() > lab_limits::max_ports_per_device)
            *problems << QStringLiteral("%1: 1 to %2 ports").arg(device).arg(lab_limits::max_ports_per_device);
        for (const QJsonValue &port : first_of(list, lab_limits::max_ports_per_device)) {
            const QString name = port.toString();
            if (!valid_name(name) || name.contains(QLatin1Char('.')))
                *problems << QStringLiteral("%1: bad port name '%2'").arg(device, name.left(40));
            else if (names.contains(name, Qt::CaseInsensitive))
                *problems << QStringLiteral("%1: port %2 twice").arg(device, name);
            else
                names << name;
        }
    } else if (kind == DeviceKind::Host) {
        names << QStringLiteral("P1");
    } else {
        *problems << QStringLiteral("%1: no ports").arg(device);
    }
    if (kind == DeviceKind::Host && names.size() > 1)
        *problems << QStringLiteral("%1: a host has one port").arg(device);
    return names;
}

void read_devices(const QJsonArray &list, LabDefinition &lab, QStringList *problems)
{
    if (list.isEmpty() || list.size() > lab_limits::max_devices)
        *problems << QStringLiteral("a lab has 1 to %1 devices").arg(lab_limits::max_devices);
    const QMap<QString, DeviceKind> kinds{{"switch", DeviceKind::Switch}, {"router", DeviceKind::Router}, {"host", DeviceKind::Host}};
    for (const QJsonValue &value : first_of(list, lab_limits::max_devices)) {
        const QJsonObject json = value.toObject();
        Device device;
        device.name = json.value(QLatin1String("name")).toString();
        if (!valid_name(device.name)) {
            *problems << QStringLiteral("bad device name '%1'").arg(device.name.left(40));
            continue;
        }
        if (lab.topology.device_index(device.name) >= 0) {
            *problems << QStringLiteral("two devices named %1").arg(device.name);
            continue;
        }
        const QString kind = json.value(QLatin1String("kind")).toString();
        if (!kinds.contains(kind))
            *problems << QStringLiteral("%1: kind is switch, router or host").arg(device.name);
        device.kind = kinds.value(kind);
        device.ports = read_ports(json, device.kind, problems, device.name);
        device.config.ports.resize(device.ports.size());
        device.mac = mac_from_name(device.name);
        if (json.contains(QLatin1String("mac")) && !parse_mac(json.value(QLatin1String("mac")).toString(), &device.mac))
            *problems << QStringLiteral("%1: bad MAC address").arg(device.name);
        device.x = json.value(QLatin1String("x")).toDouble();
        device.y = json.value(QLatin1String("y")).toDouble();
        if (json.contains(QLatin1String("address")) || json.contains(QLatin1String("gateway"))) {
            QStringList command{QStringLiteral("address"), json.value(QLatin1String("address")).toString()};
            if (json.contains(QLatin1String("gateway")))
                command << QStringLiteral("gateway") << json.value(QLatin1String("gateway")).toString();
            lab.start[device.name] << command.join(QLatin1Char(' '));
        }
        lab.topology.devices << device;
    }
}

bool read_end(const QJsonValue &value, const NetworkModel &model, int *device, int *port, QStringList *problems)
{
    const QJsonArray end = value.toArray();
    *device = model.device_index(end.at(0).toString());
    *port = *device >= 0 ? model.devices[*device].port_index(end.at(1).toString()) : -1;
    if (end.size() != 2 || *port < 0) {
        *problems << QStringLiteral("link end %1 %2 is not a port of the lab")
                         .arg(end.at(0).toString().left(40), end.at(1).toString().left(40));
        return false;
    }
    return true;
}

void read_links(const QJsonArray &list, LabDefinition &lab, QStringList *problems)
{
    if (list.size() > lab_limits::max_links)
        *problems << QStringLiteral("more than %1 links").arg(lab_limits::max_links);
    QSet<qint64> used;
    for (const QJsonValue &value : first_of(list, lab_limits::max_links)) {
        const QJsonObject json = value.toObject();
        Link link;
        if (!read_end(json.value(QLatin1String("a")), lab.topology, &link.device_a, &link.port_a, problems)
            || !read_end(json.value(QLatin1String("b")), lab.topology, &link.device_b, &link.port_b, problems))
            continue;
        bool clash = false;
        for (const auto &[d, p] : {std::pair(link.device_a, link.port_a), std::pair(link.device_b, link.port_b)}) {
            if (used.contains(qint64(d) << 16 | p) || (link.device_a == link.device_b && link.port_a == link.port_b)) {
                *problems << QStringLiteral("%1 %2 is cabled twice").arg(lab.topology.devices[d].name, lab.topology.devices[d].ports[p]);
                clash = true;
            }
            used.insert(qint64(d) << 16 | p);
        }
        link.speed = json.value(QLatin1String("speed")).toInt(1000);
        if (!QVector<int>{10, 100, 1000, 10000}.contains(link.speed))
            *problems << QStringLiteral("a link's speed is 10, 100, 1000 or 10000");
        const QString duplex = json.value(QLatin1String("duplex")).toString(QStringLiteral("full"));
        if (duplex != QLatin1String("full") && duplex != QLatin1String("half"))
            *problems << QStringLiteral("a link's duplex is full or half");
        link.full_duplex = duplex != QLatin1String("half");
        if (!clash)
            lab.topology.links << link;
    }
}

void read_commands(const QJsonValue &value, const NetworkModel &model, QMap<QString, QStringList> &into, QStringList *problems)
{
    const QJsonObject json = value.toObject();
    for (auto it = json.begin(); it != json.end(); ++it) {
        const int d = model.device_index(it.key());
        if (d < 0) {
            *problems << QStringLiteral("commands for an unknown device '%1'").arg(it.key().left(40));
            continue;
        }
        QStringList &lines = into[model.devices[d].name];
        const QJsonArray list = it.value().toArray();
        if (list.size() + lines.size() > lab_limits::max_commands_per_device)
            *problems << QStringLiteral("%1: more than %2 commands").arg(it.key()).arg(lab_limits::max_commands_per_device);
        for (const QJsonValue &line : first_of(list, lab_limits::max_commands_per_device)) {
            if (line.toString().size() > lab_limits::max_line_length)
                *problems << QStringLiteral("%1: a command longer than %2 characters").arg(it.key()).arg(lab_limits::max_line_length);
            else
                lines << line.toString();
        }
    }
}

} // namespace

LabDefinition read_lab(const QJsonObject &json, QStringList *problems)
{
    LabDefinition lab;
    lab.title = json.value(QLatin1String("title")).toString().left(200);
    lab.task = json.value(QLatin1String("task")).toString().left(2000);
    read_devices(json.value(QLatin1String("devices")).toArray(), lab, problems);
    read_links(json.value(QLatin1String("links")).toArray(), lab, problems);
    read_commands(json.value(QLatin1String("start")), lab.topology, lab.start, problems);
    read_commands(json.value(QLatin1String("solution")), lab.topology, lab.solution, problems);
    const QJsonArray goals = json.value(QLatin1String("goals")).toArray();
    if (goals.isEmpty() || goals.size() > lab_limits::max_goals)
        *problems << QStringLiteral("a lab has 1 to %1 goals").arg(lab_limits::max_goals);
    for (const QJsonValue &value : first_of(goals, lab_limits::max_goals)) {
        QString problem;
        const Goal goal = read_goal(value, lab.topology, &problem);
        if (problem.isEmpty())
            lab.goals << goal;
        else
            *problems << QStringLiteral("goal: %1").arg(problem);
    }
    return lab;
}

Network build_network(const LabDefinition &lab, bool with_solution, QStringList *problems)
{
    Network network(lab.topology);
    QStringList found;
    for (int d = 0; d < lab.topology.devices.size(); ++d) {
        const QString &name = lab.topology.devices[d].name;
        found << configure(network, d, lab.start.value(name));
        if (with_solution)
            found << configure(network, d, lab.solution.value(name));
    }
    network.recompute();
    if (problems)
        *problems << found;
    return network;
}

QStringList prove_lab(const LabDefinition &lab)
{
    QStringList problems;
    Network start = build_network(lab, false, &problems);
    Network solved = build_network(lab, true, &problems);
    if (all_met(evaluate_goals(lab.goals, start)))
        problems << QStringLiteral("the starting state already meets every goal");
    for (const GoalResult &result : evaluate_goals(lab.goals, solved))
        if (!result.met)
            problems << QStringLiteral("the solution does not meet: %1").arg(result.text);
    return problems;
}

QString describe_network(const Network &network)
{
    const NetworkModel &model = network.model();
    QStringList lines;
    for (const Device &device : model.devices) {
        QString line = QStringLiteral("%1, a %2").arg(device.name, kind_name(device.kind));
        if (device.config.address.configured())
            line += QStringLiteral(", address %1").arg(device.config.address.text());
        if (device.config.gateway)
            line += QStringLiteral(", gateway %1").arg(ipv4_text(device.config.gateway));
        lines << line + QLatin1Char('.');
    }
    for (const Link &link : model.links) {
        const auto end = [&](int d, int p) {
            const PortStatus &status = network.state().devices[d].ports[p];
            QString condition = port_condition(network, d, p);
            if (status.logical >= 0 && network.state().devices[d].logical[status.logical].bundle)
                condition += QStringLiteral(", bundled in bundle %1").arg(network.state().devices[d].logical[status.logical].bundle);
            return QStringLiteral("%1 %2 %3").arg(model.devices[d].name, model.devices[d].ports[p], condition);
        };
        lines << QStringLiteral("Link from %1 to %2, %3 Mb/s %4 duplex.")
                     .arg(end(link.device_a, link.port_a), end(link.device_b, link.port_b))
                     .arg(link.speed)
                     .arg(link.full_duplex ? "full" : "half");
    }
    for (const QString &mismatch : network.state().mismatches)
        lines << mismatch + QLatin1Char('.');
    return lines.join(QLatin1Char('\n'));
}
