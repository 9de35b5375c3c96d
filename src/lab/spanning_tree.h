// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/network_model.h"
#include "lab/network_state.h"

// One spanning tree instance over the switches' logical ports, as it stands
// once converged. Every switch starts out claiming to be the root and takes
// the best message its neighbours' designated ports send, compared by root
// bridge ID, root path cost, sender bridge ID, sender port ID, then own port
// ID, until nothing changes; this is the fixed point the protocol reaches.
// Roles follow: root port, designated where this switch sends the best
// message on the link, backup where a better message comes from the switch
// itself (a cable between two of its own ports), alternate otherwise.
// A root guard port receiving a better message than it sends is held
// alternate and root-inconsistent instead of becoming the root port.
// Ports towards hosts and routers, which send no BPDUs, are designated.
void compute_spanning_tree(const NetworkModel &model, NetworkState &state);

quint64 bridge_id(const Device &device);
QString bridge_id_text(quint64 id);  // "32768.00-1C-0E-00-00-0A"
