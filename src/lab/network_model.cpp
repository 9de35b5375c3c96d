// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/network_model.h"

QString kind_name(DeviceKind kind)
{
    switch (kind) {
    case DeviceKind::Switch: return QStringLiteral("switch");
    case DeviceKind::Router: return QStringLiteral("router");
    case DeviceKind::Host: return QStringLiteral("host");
    }
    return {};
}

QString bundle_mode_name(BundleMode mode)
{
    switch (mode) {
    case BundleMode::Static: return QStringLiteral("static");
    case BundleMode::LacpActive: return QStringLiteral("lacp-active");
    case BundleMode::LacpPassive: return QStringLiteral("lacp-passive");
    }
    return {};
}

QString violation_name(Violation action)
{
    switch (action) {
    case Violation::Shutdown: return QStringLiteral("shutdown");
    case Violation::Restrict: return QStringLiteral("restrict");
    case Violation::Protect: return QStringLiteral("protect");
    }
    return {};
}

int Device::port_index(const QString &port) const
{
    for (int i = 0; i < ports.size(); ++i)
        if (ports[i].compare(port, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int NetworkModel::device_index(const QString &name) const
{
    for (int i = 0; i < devices.size(); ++i)
        if (devices[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

quint64 mac_from_name(const QString &name)
{
    // FNV-1a over the name, kept to 46 bits under a locally administered,
    // unicast first octet (02).
    quint64 hash = 14695981039346656037ull;
    for (QChar c : name.toUpper()) {
        hash ^= c.unicode();
        hash *= 1099511628211ull;
    }
    return (quint64(0x02) << 40) | (hash & 0xFFFFFFFFFFull);
}

QString mac_text(quint64 mac)
{
    QString text;
    for (int shift = 40; shift >= 0; shift -= 8)
        text += QStringLiteral("%1%2").arg(shift == 40 ? "" : "-").arg(mac >> shift & 255, 2, 16, QLatin1Char('0'));
    return text.toUpper();
}

bool parse_mac(const QString &text, quint64 *mac)
{
    QString hex = text;
    hex.remove(QLatin1Char('-')).remove(QLatin1Char(':')).remove(QLatin1Char('.'));
    bool ok = false;
    const quint64 value = hex.toULongLong(&ok, 16);
    if (!ok || hex.size() != 12)
        return false;
    *mac = value;
    return true;
}
