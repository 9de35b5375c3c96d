// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/forwarding.h"

#include "lab/lab_limits.h"

#include <QSet>
#include <algorithm>

struct Forwarding::Frame {
    quint64 source = 0;
    quint64 destination = 0;
    QVector<MacTable> *tables = nullptr;
    QVector<QVector<QVector<quint64>>> *seen = nullptr;  // set when recording instead of enforcing security
    QSet<qint64> visited;                                // (device, VLAN) already flooded
    QVector<Endpoint> reached;
};

Ipv4Interface endpoint_address(const NetworkModel &model, Endpoint endpoint)
{
    const DeviceConfig &config = model.devices[endpoint.device].config;
    return endpoint.interface < 0 ? config.address : config.interfaces[endpoint.interface].ip;
}

QVector<Endpoint> all_endpoints(const NetworkModel &model)
{
    QVector<Endpoint> endpoints;
    for (int d = 0; d < model.devices.size(); ++d) {
        const Device &device = model.devices[d];
        if (device.kind == DeviceKind::Host)
            endpoints << Endpoint{d, -1};
        for (int i = 0; i < device.config.interfaces.size(); ++i)
            endpoints << Endpoint{d, i};
    }
    return endpoints;
}

static constexpr int untagged = 0;

void Forwarding::start(Frame &frame, Endpoint from) const
{
    const Device &device = model_.devices[from.device];
    frame.source = device.mac;
    if (device.kind == DeviceKind::Host) {
        emit_frame(frame, from.device, 0, untagged, false);
        return;
    }
    const RoutedInterface &routed = device.config.interfaces[from.interface];
    if (routed.port < 0)
        switch_frame(frame, from.device, -1, routed.vlan);
    else
        emit_frame(frame, from.device, routed.port, routed.vlan, routed.vlan != 1);
}

QVector<Endpoint> Forwarding::send(Endpoint from, quint64 destination, QVector<MacTable> *tables) const
{
    Frame frame;
    frame.destination = destination;
    frame.tables = tables;
    start(frame, from);
    frame.reached.removeAll(from);
    return frame.reached;
}

QVector<QVector<QVector<quint64>>> Forwarding::addresses_seen() const
{
    QVector<QVector<QVector<quint64>>> seen(model_.devices.size());
    for (int d = 0; d < model_.devices.size(); ++d)
        seen[d].resize(model_.devices[d].ports.size());
    for (const Endpoint &from : all_endpoints(model_)) {
        Frame frame;
        frame.destination = broadcast_mac;
        frame.seen = &seen;
        start(frame, from);
    }
    for (auto &device : seen)
        for (auto &port : device) {
            std::sort(port.begin(), port.end());
            port.erase(std::unique(port.begin(), port.end()), port.end());
        }
    return seen;
}

void Forwarding::emit_frame(Frame &frame, int device, int port, int vlan, bool tagged) const
{
    const PortStatus &status = state_.devices[device].ports[port];
    if (status.link_up && status.peer_device >= 0)
        arrive(frame, status.peer_device, status.peer_port, tagged ? vlan : untagged);
}

void Forwarding::arrive(Frame &frame, int device, int port, int tag) const
{
    const Device &to = model_.devices[device];
    if (to.kind == DeviceKind::Host) {
        if (tag == untagged && (frame.destination == broadcast_mac || frame.destination == to.mac))
            frame.reached << Endpoint{device, -1};
        return;
    }
    if (to.kind == DeviceKind::Router) {
        const int vlan = tag == untagged ? 1 : tag;
        for (int i = 0; i < to.config.interfaces.size(); ++i) {
            const RoutedInterface &routed = to.config.interfaces[i];
            if (routed.port == port && routed.vlan == vlan
                && (frame.destination == broadcast_mac || frame.destination == to.mac))
                frame.reached << Endpoint{device, i};
        }
        return;
    }
    const PortStatus &status = state_.devices[device].ports[port];
    if (status.logical < 0 || state_.devices[device].logical[status.logical].state != PortState::Forwarding)
        return;
    const PortConfig &config = to.config.ports[port];
    int vlan = 0;
    if (!config.trunk)
        vlan = tag == untagged ? config.access_vlan : 0;
    else
        vlan = tag == untagged ? config.native_vlan : tag;
    if (vlan == 0 || (config.trunk && !config.allowed.contains(vlan)))
        return;
    if (config.security) {
        if (frame.seen)
            (*frame.seen)[device][port] << frame.source;
        else if (!status.secure_addresses.contains(frame.source))
            return;
    }
    switch_frame(frame, device, status.logical, vlan);
}

void Forwarding::switch_frame(Frame &frame, int device, int ingress, int vlan) const
{
    const Device &sw = model_.devices[device];
    if (!sw.config.vlans.contains(vlan) || frame.visited.contains(qint64(device) << 16 | vlan))
        return;
    frame.visited.insert(qint64(device) << 16 | vlan);
    const DeviceState &ds = state_.devices[device];
    if (frame.tables && ingress >= 0) {
        MacTable &table = (*frame.tables)[device];
        if (table.size() < lab_limits::max_mac_entries || table.contains({vlan, frame.source}))
            table[{vlan, frame.source}] = ingress;
    }
    for (int i = 0; i < sw.config.interfaces.size(); ++i)
        if (sw.config.interfaces[i].port < 0 && sw.config.interfaces[i].vlan == vlan
            && (frame.destination == broadcast_mac || frame.destination == sw.mac))
            frame.reached << Endpoint{device, i};
    if (frame.destination == sw.mac)
        return;
    int only = -1;
    if (frame.tables && frame.destination != broadcast_mac)
        only = frame.tables->at(device).value({vlan, frame.destination}, -1);
    for (int l = 0; l < ds.logical.size(); ++l) {
        const LogicalPort &port = ds.logical[l];
        if (l == ingress || (only >= 0 && l != only) || port.state != PortState::Forwarding)
            continue;
        const PortConfig &config = sw.config.ports[port.members.front()];
        if (config.trunk ? !config.allowed.contains(vlan) : config.access_vlan != vlan)
            continue;
        emit_frame(frame, device, port.members.front(), vlan, config.trunk && vlan != config.native_vlan);
    }
}
