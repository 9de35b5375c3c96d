// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/network_model.h"
#include "lab/network_state.h"

// Decides which bundle members join their bundle and builds every device's
// logical ports from the physical ones. Expects the ports' link state.
//
// A member joins when its link is up and full duplex, the other end is a
// bundle member too with a compatible mode (static with static; LACP active
// with active or passive), it has the speed and VLAN settings of the
// bundle's first such member and leads to the same switch and bundle; and
// the other end accepts it likewise. A member that fails is suspended: it
// carries no frames and takes no part in the spanning tree.
void form_bundles(const NetworkModel &model, NetworkState &state);

// The short path costs of 802.1D-1998 by speed in Mb/s (10: 100, 100: 19,
// 1000: 4, 10000: 2); a bundle is costed by its total speed, 3 from 2 Gb/s.
int default_path_cost(int speed);
