// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// An IPv4 address with its prefix length, as hosts and routed interfaces
// carry them.
struct Ipv4Interface {
    quint32 address = 0;
    int prefix = 0;  // 1-32; 0 means no address

    bool configured() const { return prefix > 0; }
    bool same_subnet(quint32 other) const;
    QString text() const;  // "10.0.20.1/24"
};

bool parse_ipv4(const QString &text, quint32 *address);
bool parse_ipv4_prefix(const QString &text, Ipv4Interface *out);
QString ipv4_text(quint32 address);
