// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A lab question: a network, its starting configuration, the goals it is
// marked on and a reference solution, read from JSON:
//
// {"title": "Two VLANs", "task": "Make PC1 reach PC2.",
//  "devices": [
//    {"name": "SW1", "kind": "switch", "ports": 8, "mac": "00-1C-0E-00-00-0A", "x": 100, "y": 40},
//    {"name": "R1", "kind": "router", "ports": ["G0", "G1"]},
//    {"name": "PC1", "kind": "host", "address": "10.0.10.11/24", "gateway": "10.0.10.1"}],
//  "links": [{"a": ["SW1", "P1"], "b": ["PC1", "P1"], "speed": 100, "duplex": "full"}],
//  "start": {"SW1": ["vlan 10", "port P1 access vlan 10"]},
//  "solution": {"SW1": ["port P2 access vlan 10"]},
//  "goals": [{"reach": ["PC1", "PC2"]}]}
//
// "ports" is a count (ports P1, P2, ...) or a list of names; a host has one
// port, P1. "mac" is optional: a switch's MAC address is otherwise derived
// from its name. A link's speed is 10, 100, 1000 (the default) or 10000,
// its duplex "full" (the default) or "half". "start" and "solution" hold
// configuration commands per device; the solution is applied on top of the
// start. Goals are described in lab_goals.h.
#include "lab/lab_goals.h"
#include "lab/network.h"

#include <QJsonObject>
#include <QMap>

struct LabDefinition {
    QString title;
    QString task;
    NetworkModel topology;
    QMap<QString, QStringList> start;     // device name -> commands
    QMap<QString, QStringList> solution;
    QVector<Goal> goals;
};

// Reads a lab; problems are messages for the bank's author, and a lab with
// problems is not to be used.
LabDefinition read_lab(const QJsonObject &json, QStringList *problems);

// The lab as read_lab() reads it. A host's address and gateway are written
// as its first starting command, which read_lab() takes alike.
QJsonObject write_lab(const LabDefinition &lab);

// The lab's network in its starting state, or with the solution applied too.
Network build_network(const LabDefinition &lab, bool with_solution, QStringList *problems = nullptr);

// What the bank's checker needs of a lab: every command parses and applies,
// the start fails at least one goal and the solution meets them all.
QStringList prove_lab(const LabDefinition &lab);

// The network for a screen reader: devices, then each link and its state at
// both ends.
QString describe_network(const Network &network);
