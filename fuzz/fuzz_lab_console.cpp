// libFuzzer target for the lab's command language: each input line is typed
// into the console of a small lab network (its first byte picks the device),
// then completed and asked "?" of. Nothing may crash, hang or grow without
// bound, and every device's "show config" must rebuild its configuration.
#include "lab/device_commands.h"
#include "lab/lab.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstddef>
#include <cstdint>

static const char lab_json[] = R"({
 "devices": [{"name": "SW1", "kind": "switch", "ports": 6}, {"name": "SW2", "kind": "switch", "ports": 6},
             {"name": "R1", "kind": "router", "ports": 2}, {"name": "PC1", "kind": "host"}, {"name": "PC2", "kind": "host"}],
 "links": [{"a": ["SW1", "P1"], "b": ["SW2", "P1"]}, {"a": ["SW1", "P2"], "b": ["SW2", "P2"], "speed": 100},
           {"a": ["SW1", "P3"], "b": ["R1", "P1"]}, {"a": ["SW1", "P4"], "b": ["PC1", "P1"]},
           {"a": ["SW2", "P4"], "b": ["PC2", "P1"], "duplex": "half"}, {"a": ["SW2", "P5"], "b": ["SW2", "P6"]}],
 "goals": [{"reach": ["PC1", "PC2"]}]})";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const LabDefinition lab = [] {
        QStringList problems;
        return read_lab(QJsonDocument::fromJson(lab_json).object(), &problems);
    }();
    Network network = build_network(lab, false);
    const int devices = int(lab.topology.devices.size());
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = input.split(QLatin1Char('\n'));
    for (int i = 0; i < qMin(int(lines.size()), 32); ++i) {
        const QString &line = lines[i];
        if (line.isEmpty())
            continue;
        LabConsole console(network, int(line.front().unicode() % devices));
        const QString typed = line.mid(1);
        console.run(typed);
        console.complete(typed);
        console.help_for(typed);
    }
    for (int d = 0; d < devices; ++d) {
        const QStringList config = config_commands(network.device(d));
        Network fresh = build_network(lab, false);
        if (!configure(fresh, d, config).isEmpty() || config_commands(fresh.device(d)) != config)
            __builtin_trap();
    }
    evaluate_goals(lab.goals, network);
    describe_network(network);
    return 0;
}
