// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/vlan_set.h"

#include <QStringList>

VlanSet VlanSet::all()
{
    VlanSet set;
    set.bits_.set();
    set.bits_.reset(0);
    return set;
}

VlanSet VlanSet::parse(const QString &text, bool *ok)
{
    *ok = false;
    if (text.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
        *ok = true;
        return all();
    }
    VlanSet set;
    for (const QString &item : text.split(QLatin1Char(','))) {
        const QStringList ends = item.split(QLatin1Char('-'));
        if (ends.size() > 2)
            return {};
        bool first_ok = false, last_ok = false;
        const int from = ends.front().toInt(&first_ok);
        const int to = ends.back().toInt(&last_ok);
        if (!first_ok || !last_ok || !valid_id(from) || !valid_id(to) || from > to)
            return {};
        for (int vlan = from; vlan <= to; ++vlan)
            set.insert(vlan);
    }
    *ok = true;
    return set;
}

QString VlanSet::text() const
{
    if (is_all())
        return QStringLiteral("all");
    QStringList ranges;
    for (int vlan = first; vlan <= last; ++vlan) {
        if (!contains(vlan))
            continue;
        int end = vlan;
        while (contains(end + 1))
            ++end;
        ranges << (end == vlan ? QString::number(vlan) : QStringLiteral("%1-%2").arg(vlan).arg(end));
        vlan = end;
    }
    return ranges.isEmpty() ? QStringLiteral("none") : ranges.join(QLatin1Char(','));
}
