// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/grammar.h"
#include "lab/network.h"

// The text of a show command on a device.
QString show_text(Action action, const Network &network, int device);

// What the student reads for a port's spanning tree state: "forwarding",
// "blocking" or "discarding" by the switch's mode, "down", "err-disabled",
// "suspended" for a bundle member left out.
QString port_condition(const Network &network, int device, int port);
