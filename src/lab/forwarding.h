// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/network_model.h"
#include "lab/network_state.h"

#include <QMap>
#include <QPair>

// Where a frame goes: out of an addressed interface, through the switches'
// forwarding ports in its VLAN, to the interfaces it reaches.
//
// A switch port classifies an arriving frame: an access port takes untagged
// frames into its VLAN and drops tagged ones; a trunk takes tagged frames of
// its allowed VLANs and puts untagged ones in its native VLAN. It sends
// frames of its native VLAN untagged, so two trunk ends with different
// native VLANs join those two VLANs. A VLAN that does not exist on a switch
// is not forwarded there. A router port takes tagged frames to the
// sub-interface of their VLAN and untagged ones to a sub-interface of VLAN 1.

// An addressed interface: a host's address (interface -1), or a router's or
// switch's routed interface (an index into its configuration's interfaces).
struct Endpoint {
    int device = -1;
    int interface = -1;
    bool operator==(const Endpoint &o) const { return device == o.device && interface == o.interface; }
};

using MacTable = QMap<QPair<int, quint64>, int>;  // (VLAN, MAC) -> logical port
constexpr quint64 broadcast_mac = 0xFFFFFFFFFFFFull;

Ipv4Interface endpoint_address(const NetworkModel &model, Endpoint endpoint);
QVector<Endpoint> all_endpoints(const NetworkModel &model);

class Forwarding {
public:
    Forwarding(const NetworkModel &model, const NetworkState &state) : model_(model), state_(state) {}

    // The endpoints a frame from `from` to `destination` reaches; switches on
    // the way learn its source when `tables` is given, and send it only
    // where their table says when they know the destination.
    QVector<Endpoint> send(Endpoint from, quint64 destination, QVector<MacTable> *tables = nullptr) const;

    // The source addresses arriving on each port of each switch when every
    // endpoint sends a broadcast, port security not applied.
    QVector<QVector<QVector<quint64>>> addresses_seen() const;

private:
    struct Frame;
    void start(Frame &frame, Endpoint from) const;
    void emit_frame(Frame &frame, int device, int port, int vlan, bool tagged) const;
    void arrive(Frame &frame, int device, int port, int tag) const;
    void switch_frame(Frame &frame, int device, int ingress, int vlan) const;

    const NetworkModel &model_;
    const NetworkState &state_;
};
