// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/network.h"

#include "lab/bundles.h"
#include "lab/routing.h"
#include "lab/spanning_tree.h"

#include <algorithm>

Network::Network(NetworkModel model) : model_(std::move(model))
{
    for (Device &device : model_.devices)
        device.config.ports.resize(device.ports.size());
    recompute();
}

// Sets each port's cable, link state and err-disabled reason; true when BPDU
// guard shut a port that was not shut before.
bool Network::update_links(QVector<QVector<QString>> &err_disabled)
{
    for (int d = 0; d < model_.devices.size(); ++d)
        for (int p = 0; p < model_.devices[d].ports.size(); ++p)
            state_.devices[d].ports[p] = PortStatus{};
    const auto enabled = [&](int d, int p) {
        return !model_.devices[d].config.ports[p].shutdown && err_disabled[d][p].isEmpty();
    };
    for (const Link &link : model_.links) {
        const bool up = enabled(link.device_a, link.port_a) && enabled(link.device_b, link.port_b);
        for (const auto &[d, p, peer, peer_port] : {std::tuple(link.device_a, link.port_a, link.device_b, link.port_b),
                                                   std::tuple(link.device_b, link.port_b, link.device_a, link.port_a)}) {
            PortStatus &port = state_.devices[d].ports[p];
            port.peer_device = peer;
            port.peer_port = peer_port;
            port.speed = link.speed;
            port.full_duplex = link.full_duplex;
            port.link_up = up;
        }
    }
    bool guarded = false;
    for (int d = 0; d < model_.devices.size(); ++d) {
        for (int p = 0; p < model_.devices[d].ports.size(); ++p) {
            PortStatus &port = state_.devices[d].ports[p];
            port.err_disabled = err_disabled[d][p];
            if (model_.devices[d].kind == DeviceKind::Switch && model_.devices[d].config.ports[p].bpdu_guard
                && port.link_up && model_.devices[port.peer_device].kind == DeviceKind::Switch) {
                err_disabled[d][p] = QStringLiteral("BPDU guard: BPDUs from %1").arg(model_.devices[port.peer_device].name);
                guarded = true;
            }
        }
    }
    return guarded;
}

// Shuts the ports whose addresses exceed their maximum under the shutdown
// action; under restrict and protect, lets in the lowest addresses only.
void Network::apply_port_security(QVector<QVector<QString>> &err_disabled)
{
    const bool any = std::any_of(model_.devices.begin(), model_.devices.end(), [](const Device &device) {
        return std::any_of(device.config.ports.begin(), device.config.ports.end(), [](const PortConfig &port) { return port.security; });
    });
    if (!any)
        return;
    const auto seen = Forwarding(model_, state_).addresses_seen();
    for (int d = 0; d < model_.devices.size(); ++d) {
        for (int p = 0; p < model_.devices[d].ports.size(); ++p) {
            const PortConfig &config = model_.devices[d].config.ports[p];
            PortStatus &port = state_.devices[d].ports[p];
            if (!config.security || model_.devices[d].kind != DeviceKind::Switch)
                continue;
            const QVector<quint64> &addresses = seen[d][p];
            port.secure_addresses = addresses.mid(0, config.security_max);
            port.security_dropped = qMax(0, int(addresses.size()) - config.security_max);
            if (port.security_dropped > 0 && config.violation == Violation::Shutdown)
                err_disabled[d][p] = QStringLiteral("port security: %1 addresses, %2 allowed")
                                         .arg(addresses.size())
                                         .arg(config.security_max);
        }
    }
}

void Network::find_mismatches()
{
    state_.mismatches.clear();
    for (int d = 0; d < model_.devices.size(); ++d) {
        const DeviceState &ds = state_.devices[d];
        for (int l = 0; l < ds.logical.size(); ++l) {
            const LogicalPort &port = ds.logical[l];
            const int e = port.peer_device;
            if (e < 0 || model_.devices[d].kind != DeviceKind::Switch || model_.devices[e].kind != DeviceKind::Switch
                || std::pair(e, port.peer_logical) < std::pair(d, l))
                continue;
            const PortConfig &mine = model_.devices[d].config.ports[port.members.front()];
            const PortConfig &theirs = model_.devices[e].config.ports[state_.devices[e].logical[port.peer_logical].members.front()];
            const QString here = QStringLiteral("%1 %2").arg(model_.devices[d].name, logical_name(d, l));
            const QString there = QStringLiteral("%1 %2").arg(model_.devices[e].name, logical_name(e, port.peer_logical));
            if (mine.trunk != theirs.trunk)
                state_.mismatches << QStringLiteral("Trunk mismatch: %1 is %2, %3 is %4")
                                         .arg(here, mine.trunk ? "a trunk" : "an access port", there,
                                              theirs.trunk ? "a trunk" : "an access port");
            else if (mine.trunk && mine.native_vlan != theirs.native_vlan)
                state_.mismatches << QStringLiteral("Native VLAN mismatch: %1 has native VLAN %2, %3 has %4")
                                         .arg(here).arg(mine.native_vlan).arg(there).arg(theirs.native_vlan);
        }
    }
}

void Network::recompute()
{
    state_.devices.resize(model_.devices.size());
    QVector<QVector<QString>> err_disabled(model_.devices.size());
    int ports = 0;
    for (int d = 0; d < model_.devices.size(); ++d) {
        state_.devices[d].ports.resize(model_.devices[d].ports.size());
        err_disabled[d].resize(model_.devices[d].ports.size());
        ports += model_.devices[d].ports.size();
    }
    // Each pass shuts at least one more port, or ends.
    for (int pass = 0; pass <= ports; ++pass) {
        if (update_links(err_disabled))
            continue;
        form_bundles(model_, state_);
        compute_spanning_tree(model_, state_);
        const QVector<QVector<QString>> before = err_disabled;
        apply_port_security(err_disabled);
        if (err_disabled == before)
            break;
    }
    find_mismatches();
    tables_ = QVector<MacTable>(model_.devices.size());
}

bool Network::delivers(int from_device, quint32 address, QString *problem, bool learn)
{
    const Delivery delivery = deliver(model_, state_, from_device, address, learn ? &tables_ : nullptr);
    if (problem)
        *problem = delivery.problem;
    return delivery.ok;
}

bool Network::first_address(int device, quint32 *address) const
{
    const DeviceConfig &config = model_.devices[device].config;
    if (config.address.configured()) {
        *address = config.address.address;
        return true;
    }
    if (config.interfaces.isEmpty())
        return false;
    *address = config.interfaces.front().ip.address;
    return true;
}

bool Network::reaches(int a, int b, QString *problem)
{
    quint32 address_a = 0, address_b = 0;
    for (const auto &[device, address] : {std::pair(a, &address_a), std::pair(b, &address_b)})
        if (!first_address(device, address)) {
            if (problem)
                *problem = QStringLiteral("%1 has no address").arg(model_.devices[device].name);
            return false;
        }
    return delivers(a, address_b, problem) && delivers(b, address_a, problem);
}

QString Network::logical_name(int device, int logical) const
{
    const LogicalPort &port = state_.devices[device].logical[logical];
    return port.bundle ? QStringLiteral("bundle %1").arg(port.bundle) : model_.devices[device].ports[port.members.front()];
}

static QVector<int> devices_of(const QVector<Endpoint> &endpoints)
{
    QVector<int> devices;
    for (const Endpoint &endpoint : endpoints)
        if (!devices.contains(endpoint.device))
            devices << endpoint.device;
    return devices;
}

QVector<int> Network::send_frame(int from_host, int to_host)
{
    return devices_of(Forwarding(model_, state_).send({from_host, -1}, model_.devices[to_host].mac, &tables_));
}

QVector<int> Network::broadcast_reach(int from_host) const
{
    return devices_of(Forwarding(model_, state_).send({from_host, -1}, broadcast_mac));
}
