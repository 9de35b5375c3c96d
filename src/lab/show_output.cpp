// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/show_output.h"

#include "lab/device_commands.h"
#include "lab/spanning_tree.h"

namespace {

QString row(const QStringList &cells, const QVector<int> &widths)
{
    QString line;
    for (int i = 0; i < cells.size(); ++i)
        line += i + 1 < cells.size() ? cells[i].leftJustified(widths.value(i, 12)) + QLatin1Char(' ') : cells[i];
    return line.trimmed();
}

QString vlans_text(const Network &network, int d)
{
    const Device &device = network.device(d);
    QStringList lines{row({"VLAN", "Name", "Access ports"}, {5, 16})};
    for (auto it = device.config.vlans.cbegin(); it != device.config.vlans.cend(); ++it) {
        QStringList ports;
        for (int p = 0; p < device.ports.size(); ++p)
            if (!device.config.ports[p].trunk && device.config.ports[p].access_vlan == it.key())
                ports << device.ports[p];
        lines << row({QString::number(it.key()), it.value(), ports.join(QStringLiteral(", "))}, {5, 16});
    }
    return lines.join(QLatin1Char('\n'));
}

QString mode_text(const Device &device, const PortConfig &config)
{
    if (device.kind != DeviceKind::Switch)
        return QStringLiteral("routed");
    if (config.trunk)
        return QStringLiteral("trunk %1, native %2").arg(config.allowed.text()).arg(config.native_vlan);
    return device.config.vlans.contains(config.access_vlan)
               ? QStringLiteral("access %1").arg(config.access_vlan)
               : QStringLiteral("access %1 (no such VLAN: inactive)").arg(config.access_vlan);
}

QString ports_text(const Network &network, int d)
{
    const Device &device = network.device(d);
    QStringList lines{row({"Port", "Link", "State", "Mode"}, {6, 22, 12})};
    for (int p = 0; p < device.ports.size(); ++p) {
        const PortStatus &status = network.state().devices[d].ports[p];
        QString link = status.peer_device < 0 ? QStringLiteral("not cabled")
                       : QStringLiteral("%1 %2").arg(network.device(status.peer_device).name,
                                                     network.device(status.peer_device).ports[status.peer_port]);
        lines << row({device.ports[p], link, port_condition(network, d, p), mode_text(device, device.config.ports[p])}, {6, 22, 12});
        if (!status.err_disabled.isEmpty())
            lines << QStringLiteral("       err-disabled by %1").arg(status.err_disabled);
        if (status.security_dropped > 0)
            lines << QStringLiteral("       port security %1: %2 addresses dropped")
                         .arg(violation_name(device.config.ports[p].violation)).arg(status.security_dropped);
    }
    return lines.join(QLatin1Char('\n'));
}

QStringList mismatches_of(const Network &network, int d)
{
    QStringList found;
    for (const QString &mismatch : network.state().mismatches)
        if (mismatch.contains(network.device(d).name + QLatin1Char(' ')))
            found << mismatch;
    return found;
}

QString trunks_text(const Network &network, int d)
{
    const Device &device = network.device(d);
    QStringList lines{row({"Port", "Allowed", "Native"}, {10, 24})};
    for (int p = 0; p < device.ports.size(); ++p) {
        const PortConfig &config = device.config.ports[p];
        if (config.trunk)
            lines << row({device.ports[p], config.allowed.text(), QString::number(config.native_vlan)}, {10, 24});
    }
    if (lines.size() == 1)
        return QStringLiteral("No trunks");
    return (lines + mismatches_of(network, d)).join(QLatin1Char('\n'));
}

QString spanning_tree_text(const Network &network, int d)
{
    const Device &device = network.device(d);
    const DeviceState &ds = network.state().devices[d];
    QStringList lines;
    lines << QStringLiteral("Mode %1; bridge ID %2").arg(device.config.rapid ? "rstp (802.1w)" : "stp (802.1D)", bridge_id_text(ds.bridge_id));
    if (ds.root_port < 0)
        lines << QStringLiteral("This switch is the root bridge");
    else
        lines << QStringLiteral("Root bridge %1, root path cost %2, root port %3")
                     .arg(bridge_id_text(ds.root_id)).arg(ds.root_cost).arg(network.logical_name(d, ds.root_port));
    lines << row({"Port", "Role", "State", "Cost", "Port ID"}, {10, 11, 11, 6, 8});
    for (int l = 0; l < ds.logical.size(); ++l) {
        const LogicalPort &port = ds.logical[l];
        QStringList notes;
        const PortConfig &config = device.config.ports[port.members.front()];
        if (config.edge)
            notes << QStringLiteral("edge");
        if (port.root_inconsistent)
            notes << QStringLiteral("root-inconsistent");
        lines << row({network.logical_name(d, l), role_name(port.role), state_name(port.state, device.config.rapid),
                      QString::number(port.cost), QStringLiteral("%1.%2").arg(port.port_id >> 8).arg(port.port_id & 255),
                      notes.join(QStringLiteral(", "))},
                     {10, 11, 11, 6, 8});
    }
    return lines.join(QLatin1Char('\n'));
}

QString bundles_text(const Network &network, int d)
{
    const Device &device = network.device(d);
    if (device.config.bundles.isEmpty())
        return QStringLiteral("No bundles");
    QStringList lines;
    for (auto it = device.config.bundles.cbegin(); it != device.config.bundles.cend(); ++it) {
        lines << QStringLiteral("Bundle %1, mode %2").arg(it.key()).arg(bundle_mode_name(it.value()));
        for (int p = 0; p < device.ports.size(); ++p) {
            if (device.config.ports[p].bundle != it.key())
                continue;
            const PortStatus &status = network.state().devices[d].ports[p];
            lines << QStringLiteral("  %1  %2").arg(device.ports[p], -6).arg(status.logical >= 0 ? QStringLiteral("active")
                                                                                                 : QStringLiteral("suspended: ") + status.bundle_problem);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QString mac_table_text(const Network &network, int d)
{
    const MacTable &table = network.mac_table(d);
    if (table.isEmpty())
        return QStringLiteral("The MAC address table is empty");
    QStringList lines{row({"VLAN", "MAC address", "Port"}, {5, 18})};
    for (auto it = table.cbegin(); it != table.cend(); ++it) {
        QString owner;
        for (const Device &device : network.model().devices)
            if (device.mac == it.key().second)
                owner = device.name;
        lines << row({QString::number(it.key().first), mac_text(it.key().second), network.logical_name(d, it.value()), owner}, {5, 18, 10});
    }
    return lines.join(QLatin1Char('\n'));
}

QString interfaces_text(const Network &network, int d)
{
    const Device &device = network.device(d);
    if (device.config.interfaces.isEmpty())
        return QStringLiteral("No routed interfaces");
    QStringList lines{row({"Interface", "VLAN", "Address"}, {10, 5})};
    for (const RoutedInterface &routed : device.config.interfaces) {
        const QString name = routed.port < 0 ? QStringLiteral("vlan %1").arg(routed.vlan)
                                             : QStringLiteral("%1.%2").arg(device.ports[routed.port]).arg(routed.number);
        lines << row({name, QString::number(routed.vlan), routed.ip.text()}, {10, 5});
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString port_condition(const Network &network, int d, int p)
{
    const PortStatus &status = network.state().devices[d].ports[p];
    const Device &device = network.device(d);
    if (!status.err_disabled.isEmpty())
        return QStringLiteral("err-disabled");
    if (device.config.ports[p].shutdown)
        return QStringLiteral("shut down");
    if (!status.link_up)
        return QStringLiteral("down");
    if (status.logical < 0)
        return QStringLiteral("suspended");
    return state_name(network.state().devices[d].logical[status.logical].state, device.config.rapid);
}

QString show_text(Action action, const Network &network, int device)
{
    switch (action) {
    case Action::ShowVlans: return vlans_text(network, device);
    case Action::ShowPorts: return ports_text(network, device);
    case Action::ShowTrunks: return trunks_text(network, device);
    case Action::ShowSpanningTree: return spanning_tree_text(network, device);
    case Action::ShowBundles: return bundles_text(network, device);
    case Action::ShowMacTable: return mac_table_text(network, device);
    case Action::ShowInterfaces: return interfaces_text(network, device);
    case Action::ShowConfig: {
        const QStringList lines = config_commands(network.device(device));
        return lines.join(QLatin1Char('\n'));
    }
    default: return {};
    }
}
