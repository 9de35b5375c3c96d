#pragma once

// Small networks for the lab tests, written compactly: devices "SW1 SW2
// PC1:host R1:router SW3=00-0D-4F-00-00-12" (switches and routers get ports
// P1-P8, or as many as follow "#"; a MAC address after "="), links
// "SW1 P1 SW2 P1" with an optional speed and "half", and commands per device
// applied through the lab reader, as a bank's lab would be.
#include "lab/lab.h"

#include <QJsonArray>
#include <QtTest>

inline QJsonObject lab_json(const QString &devices, const QStringList &links, const QMap<QString, QStringList> &commands = {})
{
    QJsonArray device_list, link_list;
    for (const QString &item : devices.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList fields = item.section(QLatin1Char('='), 0, 0).section(QLatin1Char('#'), 0, 0).split(QLatin1Char(':'));
        QJsonObject device{{"name", fields[0]}, {"kind", fields.value(1, QStringLiteral("switch"))}};
        if (item.contains(QLatin1Char('=')))
            device.insert(QStringLiteral("mac"), item.section(QLatin1Char('='), 1));
        if (fields.value(1) != QLatin1String("host"))
            device.insert(QStringLiteral("ports"), item.contains(QLatin1Char('#')) ? item.section(QLatin1Char('#'), 1).section(QLatin1Char('='), 0, 0).toInt() : 8);
        device_list << device;
    }
    for (const QString &item : links) {
        const QStringList w = item.split(QLatin1Char(' '));
        QJsonObject link{{"a", QJsonArray{w[0], w[1]}}, {"b", QJsonArray{w[2], w[3]}}};
        if (w.size() > 4)
            link.insert(QStringLiteral("speed"), w[4].toInt());
        if (w.size() > 5)
            link.insert(QStringLiteral("duplex"), w[5]);
        link_list << link;
    }
    QJsonObject start;
    for (auto it = commands.begin(); it != commands.end(); ++it)
        start.insert(it.key(), QJsonArray::fromStringList(it.value()));
    return {{"devices", device_list}, {"links", link_list}, {"start", start}, {"goals", QJsonArray{QJsonObject{{"no_err_disabled", true}}}}};
}

inline Network lab_network(const QString &devices, const QStringList &links, const QMap<QString, QStringList> &commands = {})
{
    QStringList problems;
    const LabDefinition lab = read_lab(lab_json(devices, links, commands), &problems);
    Network network = build_network(lab, false, &problems);
    if (!problems.isEmpty())
        qWarning() << "lab sample:" << problems;
    return network;
}

// "SW2 P3" -> the port's role and state, e.g. "alternate blocking".
inline QString port_summary(const Network &network, const QString &device, const QString &port)
{
    const int d = network.model().device_index(device);
    const int p = network.device(d).port_index(port);
    const int logical = network.state().devices[d].ports[p].logical;
    if (logical < 0)
        return QStringLiteral("suspended");
    const LogicalPort &l = network.state().devices[d].logical[logical];
    return role_name(l.role) + QLatin1Char(' ') + state_name(l.state, false);
}
