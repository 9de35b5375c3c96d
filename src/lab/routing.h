// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/forwarding.h"

// An IPv4 packet's way from a device to an address. A host sends to an
// address in its own subnet directly, anywhere else to its default gateway;
// a router, or a switch with VLAN interfaces, sends out of the interface
// whose subnet holds the address (connected routes only). Each step needs
// the next device to answer its address request (ARP) in the VLAN and to be
// heard back.
struct Delivery {
    bool ok = false;
    QString problem;  // why not, for the student
};

Delivery deliver(const NetworkModel &model, const NetworkState &state, int from_device, quint32 address,
                 QVector<MacTable> *tables = nullptr);

bool owns_address(const Device &device, quint32 address);
