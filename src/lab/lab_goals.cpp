// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_goals.h"

#include "lab/show_output.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

const QStringList roles{"root", "designated", "alternate", "backup", "disabled"};
const QStringList states{"forwarding", "blocking", "discarding", "down", "shut down", "err-disabled", "suspended"};

QString port_of(const NetworkModel &model, const QString &device, const QString &port, QString *problem)
{
    const int d = model.device_index(device);
    const int p = model.devices[d].port_index(port);
    if (p < 0)
        *problem = QStringLiteral("%1 has no port '%2'").arg(device, port);
    return p < 0 ? QString() : model.devices[d].ports[p];
}

QString device_of(const NetworkModel &model, const QJsonValue &name, DeviceKind *kind, QString *problem)
{
    const int d = model.device_index(name.toString());
    if (d < 0) {
        *problem = QStringLiteral("no device '%1'").arg(name.toString().left(40));
        return {};
    }
    *kind = model.devices[d].kind;
    return model.devices[d].name;
}

} // namespace

Goal read_goal(const QJsonValue &json, const NetworkModel &model, QString *problem)
{
    Goal goal;
    const QJsonObject object = json.toObject();
    if (object.size() != 1) {
        *problem = QStringLiteral("a goal is an object with one key");
        return goal;
    }
    const QString key = object.begin().key();
    const QJsonValue value = object.begin().value();
    const QJsonArray list = value.toArray();
    DeviceKind kind = DeviceKind::Switch;
    const auto need = [&](int size) {
        if (list.size() != size)
            *problem = QStringLiteral("'%1' takes a list of %2").arg(key).arg(size);
        return problem->isEmpty();
    };
    if (key == QLatin1String("reach") || key == QLatin1String("not_reach")) {
        goal.kind = key == QLatin1String("reach") ? Goal::Reach : Goal::NotReach;
        if (need(2)) {
            goal.device = device_of(model, list[0], &kind, problem);
            if (problem->isEmpty())
                goal.other = device_of(model, list[1], &kind, problem);
        }
    } else if (key == QLatin1String("root")) {
        goal.kind = Goal::Root;
        goal.device = device_of(model, value, &kind, problem);
        if (problem->isEmpty() && kind != DeviceKind::Switch)
            *problem = QStringLiteral("%1 is not a switch").arg(goal.device);
    } else if (key == QLatin1String("port_role") || key == QLatin1String("port_state")) {
        goal.kind = key == QLatin1String("port_role") ? Goal::PortRole : Goal::PortState;
        if (need(3)) {
            goal.device = device_of(model, list[0], &kind, problem);
            if (problem->isEmpty())
                goal.port = port_of(model, goal.device, list[1].toString(), problem);
            goal.word = list[2].toString();
            const QStringList &words = goal.kind == Goal::PortRole ? roles : states;
            if (problem->isEmpty() && !words.contains(goal.word))
                *problem = QStringLiteral("'%1' is none of %2").arg(goal.word.left(40), words.join(QStringLiteral(", ")));
        }
    } else if (key == QLatin1String("bundle_active")) {
        goal.kind = Goal::BundleActive;
        if (need(3)) {
            goal.device = device_of(model, list[0], &kind, problem);
            goal.bundle = list[1].toInt(-1);
            goal.count = list[2].toInt(-1);
            if (problem->isEmpty() && (goal.bundle < 1 || goal.bundle > 64 || goal.count < 0 || goal.count > 8))
                *problem = QStringLiteral("a bundle is 1-64 with 0-8 active members");
        }
    } else if (key == QLatin1String("no_err_disabled")) {
        goal.kind = Goal::NoErrDisabled;
        if (value != QJsonValue(true))
            *problem = QStringLiteral("'no_err_disabled' takes true");
    } else if (key == QLatin1String("err_disabled")) {
        goal.kind = Goal::ErrDisabled;
        if (need(2)) {
            goal.device = device_of(model, list[0], &kind, problem);
            if (problem->isEmpty())
                goal.port = port_of(model, goal.device, list[1].toString(), problem);
        }
    } else {
        *problem = QStringLiteral("unknown goal '%1'").arg(key.left(40));
    }
    return goal;
}

QString Goal::text() const
{
    switch (kind) {
    case Reach: return QStringLiteral("%1 reaches %2").arg(device, other);
    case NotReach: return QStringLiteral("%1 does not reach %2").arg(device, other);
    case Root: return QStringLiteral("%1 is the root bridge").arg(device);
    case PortRole:
        return QStringLiteral("%1 %2 is %3 %4 port").arg(device, port, word.startsWith(QLatin1Char('a')) ? "an" : "a", word);
    case PortState: return QStringLiteral("%1 %2 is %3").arg(device, port, word);
    case BundleActive:
        return QStringLiteral("Bundle %1 on %2 has %3 active member%4").arg(bundle).arg(device).arg(count).arg(count == 1 ? "" : "s");
    case NoErrDisabled: return QStringLiteral("No port is err-disabled");
    case ErrDisabled: return QStringLiteral("%1 %2 is err-disabled").arg(device, port);
    }
    return {};
}

QJsonObject Goal::json() const
{
    switch (kind) {
    case Reach: return {{"reach", QJsonArray{device, other}}};
    case NotReach: return {{"not_reach", QJsonArray{device, other}}};
    case Root: return {{"root", device}};
    case PortRole: return {{"port_role", QJsonArray{device, port, word}}};
    case PortState: return {{"port_state", QJsonArray{device, port, word}}};
    case BundleActive: return {{"bundle_active", QJsonArray{device, bundle, count}}};
    case NoErrDisabled: return {{"no_err_disabled", true}};
    case ErrDisabled: return {{"err_disabled", QJsonArray{device, port}}};
    }
    return {};
}

bool Goal::met(Network &network) const
{
    const NetworkModel &model = network.model();
    const NetworkState &state = network.state();
    const int d = model.device_index(device);
    const int p = d >= 0 ? model.devices[d].port_index(port) : -1;
    switch (kind) {
    case Reach: return network.reaches(d, model.device_index(other));
    case NotReach: return !network.reaches(d, model.device_index(other));
    case Root:
        for (int s = 0; s < model.devices.size(); ++s)
            if (model.devices[s].kind == DeviceKind::Switch && state.devices[s].root_id != state.devices[d].bridge_id)
                return false;
        return true;
    case PortRole: {
        const int logical = state.devices[d].ports[p].logical;
        return logical >= 0 && role_name(state.devices[d].logical[logical].role) == word;
    }
    case PortState: {
        const QString now = port_condition(network, d, p);
        const auto blocked = [](const QString &w) { return w == QLatin1String("blocking") || w == QLatin1String("discarding"); };
        return now == word || (blocked(now) && blocked(word));
    }
    case BundleActive: {
        int active = 0;
        for (int q = 0; q < model.devices[d].ports.size(); ++q)
            active += model.devices[d].config.ports[q].bundle == bundle && state.devices[d].ports[q].logical >= 0;
        return active == count;
    }
    case NoErrDisabled:
        for (const DeviceState &ds : state.devices)
            for (const PortStatus &status : ds.ports)
                if (!status.err_disabled.isEmpty())
                    return false;
        return true;
    case ErrDisabled: return !state.devices[d].ports[p].err_disabled.isEmpty();
    }
    return false;
}

QVector<GoalResult> evaluate_goals(const QVector<Goal> &goals, Network &network)
{
    QVector<GoalResult> results;
    for (const Goal &goal : goals)
        results << GoalResult{goal.text(), goal.met(network)};
    return results;
}

bool all_met(const QVector<GoalResult> &results)
{
    return std::all_of(results.begin(), results.end(), [](const GoalResult &r) { return r.met; });
}
