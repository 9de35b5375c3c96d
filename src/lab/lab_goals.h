// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/network.h"

#include <QJsonObject>
#include <QJsonValue>

// A check of the computed network a lab is marked on, read from one JSON
// object with a single key:
//   {"reach": ["PC1", "PC2"]}              pings go both ways
//   {"not_reach": ["PC1", "PC3"]}
//   {"root": "SW1"}                         every switch takes SW1 as the root
//   {"port_role": ["SW2", "P3", "alternate"]}    root, designated, alternate, backup, disabled
//   {"port_state": ["SW2", "P3", "forwarding"]}  forwarding, blocking (or discarding), down,
//                                                 shut down, err-disabled, suspended
//   {"bundle_active": ["SW1", 1, 2]}        bundle 1 on SW1 has 2 active members
//   {"no_err_disabled": true}
//   {"err_disabled": ["SW1", "P4"]}
struct Goal {
    enum Kind { Reach, NotReach, Root, PortRole, PortState, BundleActive, NoErrDisabled, ErrDisabled };
    Kind kind = Reach;
    QString device, other;  // devices; `other` the second of reach goals
    QString port;
    QString word;           // role or state
    int bundle = 0, count = 0;

    QString text() const;  // the sentence the student reads: "PC1 reaches PC2"
    QJsonObject json() const;  // as read_goal() reads it
    bool met(Network &network) const;
};

// Reads a goal, checking names against the model; a problem otherwise.
Goal read_goal(const QJsonValue &json, const NetworkModel &model, QString *problem);

struct GoalResult {
    QString text;
    bool met = false;
};

QVector<GoalResult> evaluate_goals(const QVector<Goal> &goals, Network &network);
bool all_met(const QVector<GoalResult> &results);
