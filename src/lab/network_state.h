// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the network does with its configuration, recomputed as a whole after
// every configuration command: links up or down, err-disabled ports, the
// bundles that formed, and the spanning tree over the resulting ports.
#include <QString>
#include <QStringList>
#include <QVector>

enum class PortRole { Disabled, Root, Designated, Alternate, Backup };
enum class PortState { Disabled, Blocking, Forwarding };

QString role_name(PortRole role);
// "blocking" under 802.1D, "discarding" under rapid spanning tree.
QString state_name(PortState state, bool rapid);

// A port as the spanning tree and forwarding see it: one physical port, or a
// bundle that formed, which counts as one port.
struct LogicalPort {
    QVector<int> members;  // physical ports, lowest first
    int bundle = 0;        // 0: an individual port
    bool up = false;
    int speed = 0;         // Mb/s, summed over a bundle's members
    int peer_device = -1;  // -1: nothing answers at the other end
    int peer_logical = -1;
    int cost = 0;
    int port_id = 0;       // priority * 256 + number of the lowest member
    PortRole role = PortRole::Disabled;
    PortState state = PortState::Disabled;
    bool root_inconsistent = false;
};

struct PortStatus {
    int peer_device = -1;  // the cable's other end, up or not
    int peer_port = -1;
    int speed = 0;
    bool full_duplex = true;
    bool link_up = false;
    QString err_disabled;    // why the port was shut by the switch; empty when not
    int logical = -1;        // -1: a bundle member left out of its bundle
    QString bundle_problem;  // why it was left out
    QVector<quint64> secure_addresses;  // with port security: the addresses let in, lowest first
    int security_dropped = 0;           // addresses refused (restrict, protect)
};

struct DeviceState {
    quint64 bridge_id = 0;
    quint64 root_id = 0;
    int root_cost = 0;
    int root_port = -1;  // logical port; -1 on the root bridge
    QVector<PortStatus> ports;
    QVector<LogicalPort> logical;
};

struct NetworkState {
    QVector<DeviceState> devices;
    QStringList mismatches;  // native VLAN and trunk mode mismatches across links
};
