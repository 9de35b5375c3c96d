// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/ipv4.h"

#include <QStringList>

static quint32 mask_of(int prefix)
{
    return prefix <= 0 ? 0 : prefix >= 32 ? 0xFFFFFFFFu : ~((1u << (32 - prefix)) - 1);
}

bool Ipv4Interface::same_subnet(quint32 other) const
{
    return configured() && (address & mask_of(prefix)) == (other & mask_of(prefix));
}

QString Ipv4Interface::text() const
{
    return QStringLiteral("%1/%2").arg(ipv4_text(address)).arg(prefix);
}

bool parse_ipv4(const QString &text, quint32 *address)
{
    const QStringList octets = text.split(QLatin1Char('.'));
    if (octets.size() != 4)
        return false;
    quint32 value = 0;
    for (const QString &octet_text : octets) {
        bool ok = false;
        const int octet = octet_text.toInt(&ok);
        if (!ok || octet_text.size() > 3 || octet < 0 || octet > 255)
            return false;
        value = value << 8 | quint32(octet);
    }
    *address = value;
    return true;
}

bool parse_ipv4_prefix(const QString &text, Ipv4Interface *out)
{
    const int slash = text.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return false;
    bool ok = false;
    const int prefix = text.mid(slash + 1).toInt(&ok);
    quint32 address = 0;
    if (!ok || prefix < 1 || prefix > 30 || !parse_ipv4(text.left(slash), &address))
        return false;
    *out = {address, prefix};
    return true;
}

QString ipv4_text(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4").arg(address >> 24).arg(address >> 16 & 255).arg(address >> 8 & 255).arg(address & 255);
}
