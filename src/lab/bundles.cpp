// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/bundles.h"

int default_path_cost(int speed)
{
    if (speed >= 10000)
        return 2;
    if (speed >= 2000)
        return 3;
    if (speed >= 1000)
        return 4;
    if (speed >= 200)
        return 12;
    if (speed >= 100)
        return 19;
    return 100;
}

static bool modes_agree(BundleMode a, BundleMode b, QString *problem)
{
    if ((a == BundleMode::Static) != (b == BundleMode::Static)) {
        *problem = QStringLiteral("static at one end, LACP at the other");
        return false;
    }
    if (a == BundleMode::LacpPassive && b == BundleMode::LacpPassive) {
        *problem = QStringLiteral("LACP passive at both ends, neither starts");
        return false;
    }
    return true;
}

// Marks the members this end accepts, with the reason for the others.
static void accept_members(const NetworkModel &model, int d, int bundle, NetworkState &state, QVector<bool> &accepted)
{
    const Device &device = model.devices[d];
    QVector<PortStatus> &ports = state.devices[d].ports;
    int reference = -1;
    for (int p = 0; p < device.ports.size(); ++p) {
        if (device.config.ports[p].bundle != bundle)
            continue;
        const PortStatus &port = ports[p];
        QString problem;
        if (!port.link_up)
            problem = QStringLiteral("link down");
        else if (port.peer_device < 0 || model.devices[port.peer_device].kind != DeviceKind::Switch
                 || model.devices[port.peer_device].config.ports[port.peer_port].bundle == 0)
            problem = QStringLiteral("the other end is not in a bundle");
        else if (!port.full_duplex)
            problem = QStringLiteral("half duplex");
        else {
            const Device &peer = model.devices[port.peer_device];
            const int peer_bundle = peer.config.ports[port.peer_port].bundle;
            modes_agree(device.config.bundles.value(bundle), peer.config.bundles.value(peer_bundle), &problem);
        }
        if (problem.isEmpty() && reference >= 0) {
            const PortStatus &first = ports[reference];
            const PortConfig &first_config = device.config.ports[reference];
            if (port.speed != first.speed)
                problem = QStringLiteral("speed differs from %1").arg(device.ports[reference]);
            else if (!device.config.ports[p].same_vlans(first_config))
                problem = QStringLiteral("VLAN settings differ from %1").arg(device.ports[reference]);
            else if (port.peer_device != first.peer_device)
                problem = QStringLiteral("leads to another switch than %1").arg(device.ports[reference]);
            else if (model.devices[port.peer_device].config.ports[port.peer_port].bundle
                     != model.devices[first.peer_device].config.ports[first.peer_port].bundle)
                problem = QStringLiteral("leads to another bundle than %1").arg(device.ports[reference]);
        }
        if (problem.isEmpty() && reference < 0)
            reference = p;
        accepted[p] = problem.isEmpty();
        ports[p].bundle_problem = problem;
    }
}

void form_bundles(const NetworkModel &model, NetworkState &state)
{
    QVector<QVector<bool>> accepted(model.devices.size());
    for (int d = 0; d < model.devices.size(); ++d) {
        accepted[d].fill(false, model.devices[d].ports.size());
        for (auto it = model.devices[d].config.bundles.cbegin(); it != model.devices[d].config.bundles.cend(); ++it)
            accept_members(model, d, it.key(), state, accepted[d]);
    }
    for (int d = 0; d < model.devices.size(); ++d) {
        const Device &device = model.devices[d];
        DeviceState &ds = state.devices[d];
        ds.logical.clear();
        QMap<int, int> bundle_logical;
        for (int p = 0; p < device.ports.size(); ++p) {
            PortStatus &port = ds.ports[p];
            const int bundle = device.kind == DeviceKind::Switch ? device.config.ports[p].bundle : 0;
            port.logical = -1;
            if (bundle != 0) {
                if (!accepted[d][p])
                    continue;
                if (!accepted[port.peer_device][port.peer_port]) {
                    port.bundle_problem = QStringLiteral("not accepted at the other end");
                    continue;
                }
                if (bundle_logical.contains(bundle)) {
                    LogicalPort &logical = ds.logical[bundle_logical[bundle]];
                    logical.members << p;
                    logical.speed += port.speed;
                    port.logical = bundle_logical[bundle];
                    continue;
                }
                bundle_logical[bundle] = ds.logical.size();
            }
            LogicalPort logical;
            logical.members << p;
            logical.bundle = bundle;
            logical.up = port.link_up;
            logical.speed = port.speed;
            port.logical = ds.logical.size();
            ds.logical << logical;
        }
    }
    // The other ends, now that every device has its logical ports.
    for (DeviceState &ds : state.devices)
        for (LogicalPort &logical : ds.logical) {
            const PortStatus &first = ds.ports[logical.members.front()];
            if (!logical.up || first.peer_device < 0)
                continue;
            const int peer_logical = state.devices[first.peer_device].ports[first.peer_port].logical;
            if (peer_logical >= 0) {
                logical.peer_device = first.peer_device;
                logical.peer_logical = peer_logical;
            }
        }
}
