// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/routing.h"

#include "lab/lab_limits.h"

bool owns_address(const Device &device, quint32 address)
{
    if (device.config.address.configured() && device.config.address.address == address)
        return true;
    for (const RoutedInterface &routed : device.config.interfaces)
        if (routed.ip.address == address)
            return true;
    return false;
}

// Chooses the interface a device sends out of and the address it asks for.
static QString next_hop(const Device &device, int d, quint32 address, Endpoint *out, quint32 *next)
{
    const QString target = ipv4_text(address);
    if (device.kind == DeviceKind::Host) {
        const DeviceConfig &config = device.config;
        if (!config.address.configured())
            return QStringLiteral("%1 has no address").arg(device.name);
        *out = {d, -1};
        if (config.address.same_subnet(address)) {
            *next = address;
            return {};
        }
        if (config.gateway == 0)
            return QStringLiteral("%1 has no default gateway, and %2 is not in its subnet").arg(device.name, target);
        if (!config.address.same_subnet(config.gateway))
            return QStringLiteral("%1's gateway %2 is not in its subnet").arg(device.name, ipv4_text(config.gateway));
        *next = config.gateway;
        return {};
    }
    for (int i = 0; i < device.config.interfaces.size(); ++i)
        if (device.config.interfaces[i].ip.same_subnet(address)) {
            *out = {d, i};
            *next = address;
            return {};
        }
    return QStringLiteral("%1 has no interface in the subnet of %2").arg(device.name, target);
}

Delivery deliver(const NetworkModel &model, const NetworkState &state, int from_device, quint32 address,
                 QVector<MacTable> *tables)
{
    const Forwarding forwarding(model, state);
    int device = from_device;
    for (int hop = 0; hop <= lab_limits::max_router_hops; ++hop) {
        const Device &here = model.devices[device];
        if (owns_address(here, address))
            return {true, {}};
        if (hop > 0 && here.kind == DeviceKind::Host)
            return {false, QStringLiteral("%1 does not route").arg(here.name)};
        Endpoint out;
        quint32 next = 0;
        if (const QString problem = next_hop(here, device, address, &out, &next); !problem.isEmpty())
            return {false, problem};
        Endpoint answer;
        for (const Endpoint &reached : forwarding.send(out, broadcast_mac, tables))
            if (endpoint_address(model, reached).address == next)
                answer = reached;
        if (answer.device < 0)
            return {false, QStringLiteral("nothing answers for %1 in %2's VLAN").arg(ipv4_text(next), here.name)};
        if (!forwarding.send(answer, here.mac, tables).contains(out))
            return {false, QStringLiteral("%1's answer does not get back to %2").arg(model.devices[answer.device].name,
                                                                                     here.name)};
        if (tables)
            forwarding.send(out, model.devices[answer.device].mac, tables);
        device = answer.device;
    }
    return {false, QStringLiteral("more than %1 routers on the way").arg(lab_limits::max_router_hops)};
}
