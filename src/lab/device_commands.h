// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/grammar.h"

#include <QStringList>

// Applies a parsed configuration command to a device's configuration; the
// parser has put port names in their proper case. Returns an error for the
// student, or nothing when the command took effect.
QString apply_command(const ParsedCommand &parsed, const QStringList &ports, DeviceConfig &config);

// The device's configuration as commands that rebuild it on a device fresh
// from the topology.
QStringList config_commands(const Device &device);
