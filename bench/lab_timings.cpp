// The lab simulator: a configuration command on a network of 30 switches
// and 60 links (a ring with a chord from each switch, a host on each) and
// the network recomputed, against the 5 ms target; a ping across it.
//
//   bench_lab [RUNS]   (RUNS at least 10; default 15)
#include "lab/lab.h"

#include "bench_figures.h"

#include <QJsonArray>

#include <cstdlib>

namespace {

constexpr int switches = 30;

QJsonObject thirty_switches()
{
    QJsonArray devices, links, goals{QJsonObject{{"no_err_disabled", true}}};
    QJsonObject start;
    const auto link = [](const QString &a, const QString &pa, const QString &b, const QString &pb) {
        return QJsonObject{{"a", QJsonArray{a, pa}}, {"b", QJsonArray{b, pb}}};
    };
    for (int i = 0; i < switches; ++i) {
        const QString name = QStringLiteral("SW%1").arg(i + 1);
        devices << QJsonObject{{"name", name}, {"kind", "switch"}, {"ports", 8}};
        devices << QJsonObject{{"name", QStringLiteral("PC%1").arg(i + 1)}, {"kind", "host"},
                               {"address", QStringLiteral("10.0.0.%1/24").arg(i + 1)}};
        const QString next = QStringLiteral("SW%1").arg((i + 1) % switches + 1);
        const QString across = QStringLiteral("SW%1").arg((i + switches / 2) % switches + 1);
        links << link(name, "P1", next, "P2");
        links << link(name, "P3", across, "P4");
        links << link(name, "P8", QStringLiteral("PC%1").arg(i + 1), "P1");
        start.insert(name, QJsonArray{"vlan 10", "vlan 20", "port P1 trunk", "port P2 trunk", "port P3 trunk", "port P4 trunk"});
    }
    return {{"devices", devices}, {"links", links}, {"start", start}, {"goals", goals}};
}

} // namespace

int main(int argc, char *argv[])
{
    const int runs = std::max(argc > 1 ? std::atoi(argv[1]) : 15, 10);
    QStringList problems;
    const LabDefinition lab = read_lab(thirty_switches(), &problems);
    Network network = build_network(lab, false, &problems);
    if (!problems.isEmpty() || network.model().links.size() != 2 * switches + switches) {
        std::fprintf(stderr, "bench_lab: the network did not build\n");
        return 1;
    }
    LabConsole sw7(network, network.model().device_index("SW7"));
    LabConsole pc1(network, network.model().device_index("PC1"));
    std::vector<double> command_ms, ping_ms;
    for (int run = 0; run < runs; ++run) {
        const auto start = Stopwatch::now();
        sw7.run(run % 2 ? "no spanning-tree priority" : "spanning-tree priority 4096");
        command_ms.push_back(ms_since(start));
        const auto ping_start = Stopwatch::now();
        if (!pc1.run("ping PC16").startsWith(QLatin1String("Reply"))) {
            std::fprintf(stderr, "bench_lab: PC1 does not reach PC16\n");
            return 1;
        }
        ping_ms.push_back(ms_since(ping_start));
    }
    print("lab: a command, 30 switches and 60 links recomputed", command_ms, "(< 5 ms)", 5);
    print("lab: a ping across those 30 switches", ping_ms);
    return 0;
}
