// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/forwarding.h"
#include "lab/network_model.h"
#include "lab/network_state.h"

// A lab network: its model (devices, links, configuration) and the state
// computed from it. Change a device's configuration through config(), then
// call recompute(); everything in state() is a pure function of the model.
// The MAC address tables are the exception: they fill as pings send frames,
// and every recompute empties them, as a topology change would.
class Network {
public:
    Network() = default;
    explicit Network(NetworkModel model);

    const NetworkModel &model() const { return model_; }
    const NetworkState &state() const { return state_; }
    const Device &device(int index) const { return model_.devices[index]; }
    DeviceConfig &config(int device) { return model_.devices[device].config; }
    void recompute();

    // Whether an IPv4 packet from the device gets to the address, and if not
    // why; with `learn`, the switches on the way learn the frames' sources.
    bool delivers(int from_device, quint32 address, QString *problem = nullptr, bool learn = false);
    // Both ways between two devices' first addresses, as a ping needs.
    bool reaches(int a, int b, QString *problem = nullptr);
    // The address a ping to the device would go to; false when it has none.
    bool first_address(int device, quint32 *address) const;

    // One frame from a host to another host's MAC address; the switches on
    // the way learn its source. Returns the devices it reached.
    QVector<int> send_frame(int from_host, int to_host);
    // Where a broadcast from a host arrives, without learning.
    QVector<int> broadcast_reach(int from_host) const;

    const MacTable &mac_table(int device) const { return tables_[device]; }
    void clear_mac_table(int device) { tables_[device].clear(); }

    // The name of a logical port, "P3" or "bundle 1".
    QString logical_name(int device, int logical) const;

private:
    bool update_links(QVector<QVector<QString>> &err_disabled);
    void apply_port_security(QVector<QVector<QString>> &err_disabled);
    void find_mismatches();

    NetworkModel model_;
    NetworkState state_;
    QVector<MacTable> tables_;
};
