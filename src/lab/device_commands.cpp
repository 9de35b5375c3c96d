// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/device_commands.h"

#include "lab/lab_limits.h"

namespace {

BundleMode bundle_mode(const QString &word)
{
    return word == QLatin1String("static") ? BundleMode::Static
           : word == QLatin1String("lacp-active") ? BundleMode::LacpActive
                                                  : BundleMode::LacpPassive;
}

Violation violation(const QString &word)
{
    return word == QLatin1String("shutdown") ? Violation::Shutdown
           : word == QLatin1String("restrict") ? Violation::Restrict
                                               : Violation::Protect;
}

QString set_bundle(DeviceConfig &config, const QStringList &port_names, int bundle, const QString &ports, BundleMode mode)
{
    QVector<int> members;
    for (const QString &name : ports.split(QLatin1Char(','))) {
        const int port = int(port_names.indexOf(name));
        const int other = config.ports[port].bundle;
        if (other != 0 && other != bundle)
            return QStringLiteral("%1 is already in bundle %2").arg(name).arg(other);
        members << port;
    }
    for (PortConfig &port : config.ports)
        if (port.bundle == bundle)
            port.bundle = 0;
    for (int port : members)
        config.ports[port].bundle = bundle;
    config.bundles[bundle] = mode;
    return {};
}

QString set_interface(DeviceConfig &config, RoutedInterface routed, bool remove)
{
    for (int i = 0; i < config.interfaces.size(); ++i)
        if (config.interfaces[i].port == routed.port && config.interfaces[i].number == routed.number) {
            if (remove)
                config.interfaces.remove(i);
            else
                config.interfaces[i] = routed;
            return {};
        }
    if (remove)
        return QStringLiteral("There is no such interface");
    if (config.interfaces.size() >= lab_limits::max_interfaces)
        return QStringLiteral("No more than %1 interfaces").arg(lab_limits::max_interfaces);
    config.interfaces << routed;
    return {};
}

QString apply_port(Action action, bool no, const QStringList &values, PortConfig &port)
{
    const int number = values.value(1).toInt();
    switch (action) {
    case Action::PortAccess:
        port.trunk = false;
        port.access_vlan = no ? 1 : number;
        break;
    case Action::PortTrunk: port.trunk = !no; break;
    case Action::PortAllowed: {
        bool ok = false;
        port.trunk = true;
        port.allowed = no ? VlanSet::all() : VlanSet::parse(values[1], &ok);
        break;
    }
    case Action::PortNative:
        port.trunk = true;
        port.native_vlan = no ? 1 : number;
        break;
    case Action::PortShutdown: port.shutdown = !no; break;
    case Action::PortEdge: port.edge = !no; break;
    case Action::PortBpduGuard: port.bpdu_guard = !no; break;
    case Action::PortRootGuard: port.root_guard = !no; break;
    case Action::PortCost: port.cost = no ? 0 : number; break;
    case Action::PortPriority: port.priority = no ? 128 : number; break;
    case Action::PortSecurity:
        if (no) {
            const PortConfig fresh;
            port.security_max = fresh.security_max;
            port.violation = fresh.violation;
            port.sticky = false;
        }
        port.security = !no;
        break;
    case Action::PortSecurityMax:
        port.security |= !no;
        port.security_max = no ? 1 : number;
        break;
    case Action::PortSecurityViolation:
        port.security |= !no;
        port.violation = no ? Violation::Shutdown : violation(values[1]);
        break;
    case Action::PortSecuritySticky:
        port.security |= !no;
        port.sticky = !no;
        break;
    default: break;
    }
    return {};
}

} // namespace

QString apply_command(const ParsedCommand &parsed, const QStringList &ports, DeviceConfig &config)
{
    const QStringList &values = parsed.values;
    const bool no = parsed.command->negated;
    switch (parsed.command->action) {
    case Action::Vlan:
        if (!no) {
            if (!config.vlans.contains(values[0].toInt()))
                config.vlans[values[0].toInt()] = QString();
        } else if (values[0].toInt() == 1) {
            return QStringLiteral("VLAN 1 cannot be deleted");
        } else if (!config.vlans.remove(values[0].toInt())) {
            return QStringLiteral("There is no VLAN %1").arg(values[0]);
        }
        return {};
    case Action::VlanName:
        config.vlans[values[0].toInt()] = no ? (values[0] == QLatin1String("1") ? QStringLiteral("default") : QString()) : values[1];
        return {};
    case Action::Bundle:
        if (no) {
            if (!config.bundles.remove(values[0].toInt()))
                return QStringLiteral("There is no bundle %1").arg(values[0]);
            for (PortConfig &port : config.ports)
                if (port.bundle == values[0].toInt())
                    port.bundle = 0;
            return {};
        }
        return set_bundle(config, ports, values[0].toInt(), values[1], bundle_mode(values[2]));
    case Action::SpanningTreeMode: config.rapid = no || values[0] == QLatin1String("rstp"); return {};
    case Action::SpanningTreePriority: config.bridge_priority = no ? 32768 : values[0].toInt(); return {};
    case Action::VlanInterface: {
        RoutedInterface routed{-1, values[0].toInt(), values[0].toInt(), {}};
        if (!no)
            parse_ipv4_prefix(values[1], &routed.ip);
        return set_interface(config, routed, no);
    }
    case Action::SubInterface: {
        const int dot = values[0].lastIndexOf(QLatin1Char('.'));
        RoutedInterface routed{int(ports.indexOf(values[0].left(dot))), values[0].mid(dot + 1).toInt(), 1, {}};
        if (!no) {
            routed.vlan = values[1].toInt();
            parse_ipv4_prefix(values[2], &routed.ip);
        }
        return set_interface(config, routed, no);
    }
    case Action::HostAddress:
        config.address = {};
        config.gateway = 0;
        if (!no)
            parse_ipv4_prefix(values[0], &config.address);
        if (!no && values.size() > 1)
            parse_ipv4(values[1], &config.gateway);
        return {};
    case Action::HostGateway:
        config.gateway = 0;
        if (!no)
            parse_ipv4(values[0], &config.gateway);
        return {};
    default:
        return apply_port(parsed.command->action, no, values, config.ports[ports.indexOf(values[0])]);
    }
}

QStringList config_commands(const Device &device)
{
    const DeviceConfig &config = device.config;
    QStringList lines;
    if (device.kind == DeviceKind::Host) {
        QStringList words;
        if (config.address.configured())
            words << QStringLiteral("address") << config.address.text();
        if (config.gateway)
            words << QStringLiteral("gateway") << ipv4_text(config.gateway);
        if (!words.isEmpty())
            lines << words.join(QLatin1Char(' '));
        return lines;
    }
    const PortConfig defaults;
    if (device.kind == DeviceKind::Switch) {
        if (!config.rapid)
            lines << QStringLiteral("spanning-tree mode stp");
        if (config.bridge_priority != 32768)
            lines << QStringLiteral("spanning-tree priority %1").arg(config.bridge_priority);
        for (auto it = config.vlans.cbegin(); it != config.vlans.cend(); ++it)
            if (it.key() != 1 || it.value() != QLatin1String("default"))
                lines << (it.value().isEmpty() ? QStringLiteral("vlan %1").arg(it.key())
                                               : QStringLiteral("vlan %1 name %2").arg(it.key()).arg(it.value()));
    }
    for (int p = 0; p < device.ports.size(); ++p) {
        const PortConfig &port = config.ports[p];
        const QString prefix = QStringLiteral("port %1 ").arg(device.ports[p]);
        QStringList settings;
        if (port.trunk)
            settings << QStringLiteral("trunk");
        if (port.trunk && !port.allowed.is_all())
            settings << QStringLiteral("trunk allowed %1").arg(port.allowed.text());
        if (port.trunk && port.native_vlan != 1)
            settings << QStringLiteral("trunk native %1").arg(port.native_vlan);
        if (!port.trunk && port.access_vlan != 1)
            settings << QStringLiteral("access vlan %1").arg(port.access_vlan);
        if (port.shutdown)
            settings << QStringLiteral("shutdown");
        if (port.edge)
            settings << QStringLiteral("edge");
        if (port.bpdu_guard)
            settings << QStringLiteral("bpdu-guard");
        if (port.root_guard)
            settings << QStringLiteral("root-guard");
        if (port.cost)
            settings << QStringLiteral("cost %1").arg(port.cost);
        if (port.priority != defaults.priority)
            settings << QStringLiteral("priority %1").arg(port.priority);
        if (port.security)
            settings << QStringLiteral("security");
        if (port.security && port.security_max != defaults.security_max)
            settings << QStringLiteral("security max %1").arg(port.security_max);
        if (port.security && port.violation != defaults.violation)
            settings << QStringLiteral("security violation %1").arg(violation_name(port.violation));
        if (port.security && port.sticky)
            settings << QStringLiteral("security sticky");
        for (const QString &setting : settings)
            lines << prefix + setting;
    }
    for (auto it = config.bundles.cbegin(); it != config.bundles.cend(); ++it) {
        QStringList members;
        for (int p = 0; p < device.ports.size(); ++p)
            if (config.ports[p].bundle == it.key())
                members << device.ports[p];
        lines << QStringLiteral("bundle %1 ports %2 mode %3").arg(it.key()).arg(members.join(QLatin1Char(',')), bundle_mode_name(it.value()));
    }
    for (const RoutedInterface &routed : config.interfaces)
        lines << (routed.port < 0 ? QStringLiteral("interface vlan %1 address %2").arg(routed.vlan).arg(routed.ip.text())
                                  : QStringLiteral("interface %1.%2 vlan %3 address %4")
                                        .arg(device.ports[routed.port]).arg(routed.number).arg(routed.vlan).arg(routed.ip.text()));
    return lines;
}
