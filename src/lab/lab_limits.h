// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Bounds on everything a lab or a student can make the simulator hold, so
// that hostile input costs at most a few megabytes and milliseconds.
namespace lab_limits {
constexpr int max_devices = 64;
constexpr int max_ports_per_device = 64;
constexpr int max_links = 256;
constexpr int max_commands_per_device = 200;
constexpr int max_line_length = 256;
constexpr int max_history = 100;
constexpr int max_goals = 64;
constexpr int max_bundle_members = 8;
constexpr int max_bundle_id = 64;
constexpr int max_interfaces = 16;  // routed interfaces per device
constexpr int max_security_addresses = 64;
constexpr int max_mac_entries = 1024;  // per switch
constexpr int max_router_hops = 8;
}
