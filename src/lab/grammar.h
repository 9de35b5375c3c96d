// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command language, kept in one table (grammar.cpp) from which parsing,
// the "?" help, Tab completion and the full help text are all derived.
//
// A command is a sequence of words: keywords, which may be shortened to any
// prefix no other keyword in that place shares; values such as <vlan> or
// <port>; and choices such as {stp|rstp}, shortened like keywords. Every
// configuration command has a "no" form that takes its first words and
// restores the default.
#include "lab/network_model.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Show commands first, then the operational ones, then configuration: the
// console tells them apart by this order.
enum class Action {
    ShowVlans, ShowPorts, ShowTrunks, ShowSpanningTree, ShowBundles, ShowMacTable, ShowInterfaces, ShowConfig,
    ClearMacTable, Ping,
    Vlan, VlanName, PortAccess, PortTrunk, PortAllowed, PortNative, PortShutdown, PortEdge, PortBpduGuard,
    PortRootGuard, PortCost, PortPriority, PortSecurity, PortSecurityMax, PortSecurityViolation, PortSecuritySticky,
    Bundle, SpanningTreeMode, SpanningTreePriority, VlanInterface, SubInterface, HostAddress, HostGateway,
};

// The devices a command applies to, or'ed.
enum DeviceMask : unsigned { OnSwitch = 1, OnRouter = 2, OnHost = 4, OnAll = 7 };
unsigned mask_of(DeviceKind kind);

struct Command {
    unsigned devices;
    QString pattern;  // "port <port> cost <cost>"; a no form starts with "no"
    Action action;
    bool negated;
    QString help;
};

// Every command, the no forms included, in the order of the table.
const QVector<Command> &commands();

// What a value is checked against: the device's ports and the lab's devices.
struct ParseContext {
    DeviceKind kind = DeviceKind::Switch;
    QStringList ports;
    QStringList devices;
};

struct ParsedCommand {
    const Command *command = nullptr;  // null when the line did not parse
    QStringList values;                // values and choices, in order, as typed but with names in their proper case
    int error_column = 0;              // 0-based, where the wrong word starts
    QString error;
};

ParsedCommand parse_command(const QString &line, const ParseContext &context);
// The error with the line above it and a caret under the wrong word.
QString error_with_caret(const QString &line, const ParsedCommand &parsed);

// What may come after the line ("?"): one word a line with its help.
QString help_for(const QString &line, const ParseContext &context);
// The lines Tab can make of a partial line, each ending in a space.
QStringList completions(const QString &line, const ParseContext &context);
// Every command for the given devices with its help and its no form.
QString full_help(unsigned devices = OnAll);
