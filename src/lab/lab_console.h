// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/command_history.h"
#include "lab/grammar.h"
#include "lab/network.h"

struct ConsoleReply {
    QString text;
    bool error = false;
};

// The console of one device. Consoles of one lab share its Network; a
// configuration command recomputes it, so every console sees the change.
class LabConsole {
public:
    LabConsole(Network &network, int device) : network_(&network), device_(device) {}

    // Runs a line as typed and returns what the console prints. A line
    // ending in "?" prints help_for() of what comes before the "?".
    QString run(const QString &line) { return execute(line).text; }
    ConsoleReply execute(const QString &line);
    // The lines Tab can make of the partial line.
    QStringList complete(const QString &partial) const;
    // What may come next, one word a line with its help.
    QString help_for(const QString &partial) const;

    CommandHistory &history() { return history_; }
    int device() const { return device_; }
    QString prompt() const;  // "SW1> "
    ParseContext context() const;

private:
    QString ping(const QString &target);

    Network *network_;
    int device_;
    CommandHistory history_;
};

// Applies configuration lines to a device without recomputing the network;
// returns a message for each line that does not parse or apply.
QStringList configure(Network &network, int device, const QStringList &lines);
