// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/spanning_tree.h"

#include "lab/bundles.h"

#include <tuple>

namespace {

struct Vector {
    quint64 root = 0;
    qint64 cost = 0;
    quint64 bridge = 0;
    int port = 0;

    bool operator<(const Vector &o) const
    {
        return std::tie(root, cost, bridge, port) < std::tie(o.root, o.cost, o.bridge, o.port);
    }
};

struct Solver {
    const NetworkModel &model;
    NetworkState &state;
    QVector<Vector> root_vector;  // per device: its root, cost, and where it came from

    bool is_switch(int d) const { return model.devices[d].kind == DeviceKind::Switch; }

    // The message a switch's logical port sends when designated.
    Vector designated(int d, int l) const
    {
        return {root_vector[d].root, root_vector[d].cost, state.devices[d].bridge_id, state.devices[d].logical[l].port_id};
    }

    bool hears_switch(const LogicalPort &port) const { return port.up && port.peer_device >= 0 && is_switch(port.peer_device); }

    bool root_guarded(int d, const LogicalPort &port) const
    {
        return model.devices[d].config.ports[port.members.front()].root_guard;
    }

    // One round: every switch takes the best message it hears.
    bool update()
    {
        bool changed = false;
        QVector<Vector> next = root_vector;
        for (int d = 0; d < model.devices.size(); ++d) {
            if (!is_switch(d))
                continue;
            DeviceState &ds = state.devices[d];
            Vector best{ds.bridge_id, 0, ds.bridge_id, 0};
            int best_port_id = 0;
            int root_port = -1;
            for (int l = 0; l < ds.logical.size(); ++l) {
                const LogicalPort &port = ds.logical[l];
                if (!hears_switch(port) || port.peer_device == d || root_guarded(d, port))
                    continue;
                const Vector heard = designated(port.peer_device, port.peer_logical);
                if (heard.bridge == ds.bridge_id)
                    continue;
                const Vector offer{heard.root, heard.cost + port.cost, heard.bridge, heard.port};
                if (offer < best || (!(best < offer) && root_port >= 0 && port.port_id < best_port_id)) {
                    best = offer;
                    best_port_id = port.port_id;
                    root_port = l;
                }
            }
            if (root_port < 0)
                best = {ds.bridge_id, 0, ds.bridge_id, 0};
            changed |= root_port != ds.root_port || best < root_vector[d] || root_vector[d] < best;
            next[d] = best;
            ds.root_port = root_port;
        }
        root_vector = next;
        return changed;
    }

    void assign_roles(int d)
    {
        DeviceState &ds = state.devices[d];
        ds.root_id = root_vector[d].root;
        ds.root_cost = int(root_vector[d].cost);
        for (int l = 0; l < ds.logical.size(); ++l) {
            LogicalPort &port = ds.logical[l];
            port.root_inconsistent = false;
            if (!port.up)
                port.role = PortRole::Disabled;
            else if (l == ds.root_port)
                port.role = PortRole::Root;
            else if (!hears_switch(port))
                port.role = PortRole::Designated;
            else {
                const Vector heard = designated(port.peer_device, port.peer_logical);
                if (!(heard < designated(d, l)))
                    port.role = PortRole::Designated;
                else if (heard.bridge == ds.bridge_id)
                    port.role = PortRole::Backup;
                else {
                    port.role = PortRole::Alternate;
                    port.root_inconsistent = root_guarded(d, port);
                }
            }
            port.state = port.role == PortRole::Disabled                                         ? PortState::Disabled
                         : port.role == PortRole::Root || port.role == PortRole::Designated ? PortState::Forwarding
                                                                                            : PortState::Blocking;
        }
    }
};

} // namespace

quint64 bridge_id(const Device &device)
{
    return quint64(device.config.bridge_priority) << 48 | (device.mac & 0xFFFFFFFFFFFFull);
}

QString bridge_id_text(quint64 id)
{
    return QStringLiteral("%1.%2").arg(id >> 48).arg(mac_text(id & 0xFFFFFFFFFFFFull));
}

void compute_spanning_tree(const NetworkModel &model, NetworkState &state)
{
    Solver solver{model, state, {}};
    for (int d = 0; d < model.devices.size(); ++d) {
        DeviceState &ds = state.devices[d];
        const Device &device = model.devices[d];
        ds.bridge_id = bridge_id(device);
        ds.root_port = -1;
        solver.root_vector << Vector{ds.bridge_id, 0, ds.bridge_id, 0};
        for (LogicalPort &port : ds.logical) {
            const PortConfig &config = device.config.ports[port.members.front()];
            port.cost = config.cost > 0 ? config.cost : default_path_cost(port.speed);
            port.port_id = config.priority * 256 + port.members.front() + 1;
        }
    }
    // Each round carries the best root one link further; more rounds than
    // switches only happen when root guard keeps cutting a path.
    const int rounds = 2 * model.devices.size() + 2;
    for (int round = 0; round < rounds && solver.update(); ++round) {
    }
    for (int d = 0; d < model.devices.size(); ++d) {
        if (solver.is_switch(d)) {
            solver.assign_roles(d);
            continue;
        }
        for (LogicalPort &port : state.devices[d].logical) {
            port.role = port.up ? PortRole::Designated : PortRole::Disabled;
            port.state = port.up ? PortState::Forwarding : PortState::Disabled;
        }
    }
}

QString role_name(PortRole role)
{
    switch (role) {
    case PortRole::Disabled: return QStringLiteral("disabled");
    case PortRole::Root: return QStringLiteral("root");
    case PortRole::Designated: return QStringLiteral("designated");
    case PortRole::Alternate: return QStringLiteral("alternate");
    case PortRole::Backup: return QStringLiteral("backup");
    }
    return {};
}

QString state_name(PortState state, bool rapid)
{
    switch (state) {
    case PortState::Disabled: return QStringLiteral("disabled");
    case PortState::Blocking: return rapid ? QStringLiteral("discarding") : QStringLiteral("blocking");
    case PortState::Forwarding: return QStringLiteral("forwarding");
    }
    return {};
}
