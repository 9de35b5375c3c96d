// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Lab questions: a switched network the student configures through a
// console per device, marked on what the network then does.
//
// Architecture. A LabDefinition (lab_definition.h) is read from JSON: the
// devices and links (NetworkModel, network_model.h), starting commands, a
// reference solution and Goals (lab_goals.h). build_network() makes the
// Network (network.h), which owns the model and recomputes its state
// (network_state.h) as a whole after every configuration change: link
// states and err-disabled ports, bundles (bundles.h), the spanning tree
// (spanning_tree.h); frames and packets are followed on demand
// (forwarding.h, routing.h). Everything computed is a pure function of the
// configuration, except the MAC address tables that pings fill.
//
// The window makes one LabConsole (lab_console.h) per device over the shared
// Network: run() a typed line, complete() for Tab, help_for() for "?",
// history() for Up and Down. The command language is one table
// (grammar.cpp): full_help() prints it. Marking is evaluate_goals() and
// all_met(); the bank's checker calls prove_lab(); describe_network() is
// the text for a screen reader.
#include "lab/lab_console.h"
#include "lab/lab_definition.h"
#include "lab/lab_goals.h"
