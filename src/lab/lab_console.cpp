// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/lab_console.h"

#include "lab/device_commands.h"
#include "lab/lab_limits.h"
#include "lab/routing.h"
#include "lab/show_output.h"

static bool is_show(Action action)
{
    return action <= Action::ShowConfig;
}

ParseContext LabConsole::context() const
{
    ParseContext context;
    const Device &device = network_->device(device_);
    context.kind = device.kind;
    context.ports = device.ports;
    for (const Device &other : network_->model().devices)
        context.devices << other.name;
    return context;
}

QString LabConsole::prompt() const
{
    return network_->device(device_).name + QStringLiteral("> ");
}

ConsoleReply LabConsole::execute(const QString &line)
{
    history_.add(line);
    if (line.trimmed().isEmpty())
        return {};
    if (line.trimmed().endsWith(QLatin1Char('?')) && line.size() <= lab_limits::max_line_length) {
        const QString before = line.trimmed();
        return {help_for(before.left(before.size() - 1)), false};
    }
    const ParsedCommand parsed = parse_command(line, context());
    if (!parsed.command)
        return {error_with_caret(line, parsed), true};
    const Action action = parsed.command->action;
    if (is_show(action))
        return {show_text(action, *network_, device_), false};
    if (action == Action::Ping)
        return {ping(parsed.values[0]), false};
    if (action == Action::ClearMacTable) {
        network_->clear_mac_table(device_);
        return {};
    }
    const QString problem = apply_command(parsed, network_->device(device_).ports, network_->config(device_));
    if (!problem.isEmpty())
        return {problem, true};
    network_->recompute();
    return {};
}

QString LabConsole::ping(const QString &target)
{
    quint32 address = 0;
    if (!parse_ipv4(target, &address)) {
        const int other = network_->model().device_index(target);
        if (!network_->first_address(other, &address))
            return QStringLiteral("%1 has no address").arg(target);
    }
    const QString to = ipv4_text(address);
    QString problem;
    if (!network_->delivers(device_, address, &problem, true))
        return QStringLiteral("No reply from %1: %2").arg(to, problem);
    int owner = 0;
    while (!owns_address(network_->device(owner), address))
        ++owner;
    quint32 own = 0;
    network_->first_address(device_, &own);
    if (!network_->delivers(owner, own, &problem, true))
        return QStringLiteral("No reply from %1: the request arrives, but the reply does not come back (%2)").arg(to, problem);
    return QStringLiteral("Reply from %1 (%2)").arg(to, network_->device(owner).name);
}

QStringList LabConsole::complete(const QString &partial) const
{
    return completions(partial, context());
}

QString LabConsole::help_for(const QString &partial) const
{
    return ::help_for(partial, context());
}

QStringList configure(Network &network, int device, const QStringList &lines)
{
    QStringList problems;
    const ParseContext context = LabConsole(network, device).context();
    for (const QString &line : lines) {
        const ParsedCommand parsed = parse_command(line, context);
        QString problem = parsed.command ? QString() : parsed.error;
        if (parsed.command && parsed.command->action > Action::Ping)
            problem = apply_command(parsed, network.device(device).ports, network.config(device));
        else if (parsed.command)
            problem = QStringLiteral("not a configuration command");
        if (!problem.isEmpty())
            problems << QStringLiteral("%1: '%2': %3").arg(network.device(device).name, line.left(60), problem);
    }
    return problems;
}
