// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_definition.h"

#include <QJsonArray>

namespace {

QJsonObject device_json(const Device &device)
{
    QJsonObject json{{"name", device.name}, {"kind", kind_name(device.kind)}, {"x", device.x}, {"y", device.y}};
    if (device.kind != DeviceKind::Host || device.ports != QStringList{QStringLiteral("P1")})
        json.insert(QLatin1String("ports"), QJsonArray::fromStringList(device.ports));
    if (device.mac != mac_from_name(device.name))
        json.insert(QLatin1String("mac"), mac_text(device.mac));
    return json;
}

QJsonObject link_json(const NetworkModel &model, const Link &link)
{
    const auto end = [&](int d, int p) { return QJsonArray{model.devices[d].name, model.devices[d].ports[p]}; };
    return {{"a", end(link.device_a, link.port_a)},
            {"b", end(link.device_b, link.port_b)},
            {"speed", link.speed},
            {"duplex", link.full_duplex ? "full" : "half"}};
}

QJsonObject commands_json(const QMap<QString, QStringList> &commands)
{
    QJsonObject json;
    for (auto it = commands.cbegin(); it != commands.cend(); ++it)
        if (!it.value().isEmpty())
            json.insert(it.key(), QJsonArray::fromStringList(it.value()));
    return json;
}

} // namespace

QJsonObject write_lab(const LabDefinition &lab)
{
    QJsonArray devices, links, goals;
    for (const Device &device : lab.topology.devices)
        devices.append(device_json(device));
    for (const Link &link : lab.topology.links)
        links.append(link_json(lab.topology, link));
    for (const Goal &goal : lab.goals)
        goals.append(goal.json());
    QJsonObject json{{"devices", devices}, {"links", links}, {"start", commands_json(lab.start)},
                     {"solution", commands_json(lab.solution)}, {"goals", goals}};
    if (!lab.title.isEmpty())
        json.insert(QLatin1String("title"), lab.title);
    if (!lab.task.isEmpty())
        json.insert(QLatin1String("task"), lab.task);
    return json;
}
