// The lab window opened and painted: built from the lab, shown and repainted
// on a visible window, for the largest lab of the bank and for a generated
// 30-switch network (60 links between switches, 30 to hosts), against the 100 ms target.
//
//   bench_lab_window [RUNS]   (RUNS at least 10; default 15)
#include "gui/lab_window.h"
#include "lab/lab.h"

#include "bench_figures.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <cstdlib>

namespace {

// A ring of 30 switches with a chord across from each (60 switch links) and
// a host on each switch, laid out on two circles.
QJsonObject thirty_switches()
{
    constexpr int switches = 30;
    QJsonArray devices, links;
    QJsonObject start;
    const auto link = [](const QString &a, const QString &pa, const QString &b, const QString &pb) {
        return QJsonObject{{"a", QJsonArray{a, pa}}, {"b", QJsonArray{b, pb}}};
    };
    for (int i = 0; i < switches; ++i) {
        const QString name = QStringLiteral("SW%1").arg(i + 1);
        const double angle = 2 * M_PI * i / switches;
        devices << QJsonObject{{"name", name}, {"kind", "switch"}, {"ports", 8},
                               {"x", 500 + 300 * std::cos(angle)}, {"y", 500 + 300 * std::sin(angle)}};
        devices << QJsonObject{{"name", QStringLiteral("PC%1").arg(i + 1)}, {"kind", "host"},
                               {"address", QStringLiteral("10.0.0.%1/24").arg(i + 1)},
                               {"x", 500 + 450 * std::cos(angle)}, {"y", 500 + 450 * std::sin(angle)}};
        const QString next = QStringLiteral("SW%1").arg((i + 1) % switches + 1);
        const QString across = QStringLiteral("SW%1").arg((i + switches / 2) % switches + 1);
        links << link(name, "P1", next, "P2");
        links << link(name, "P3", across, "P4");
        links << link(name, "P8", QStringLiteral("PC%1").arg(i + 1), "P1");
        start.insert(name, QJsonArray{"vlan 10", "port P1 trunk", "port P2 trunk", "port P3 trunk", "port P4 trunk"});
    }
    return {{"title", "Thirty switches"}, {"devices", devices}, {"links", links}, {"start", start},
            {"goals", QJsonArray{QJsonObject{{"no_err_disabled", true}}}}};
}

// The bank's lab with the most devices and links.
QJsonObject largest_bank_lab()
{
    QFile file(QStringLiteral(LAB_BANK));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QJsonObject largest;
    qsizetype size = -1;
    for (const QJsonValue &question : QJsonDocument::fromJson(file.readAll()).object().value("questions").toArray()) {
        const QJsonObject lab = question.toObject().value("lab").toObject();
        const qsizetype here = lab.value("devices").toArray().size() + lab.value("links").toArray().size();
        if (here > size)
            size = here, largest = lab;
    }
    return largest;
}

bool time_window(const char *what, const QJsonObject &json, int runs)
{
    QStringList problems;
    const LabDefinition lab = read_lab(json, &problems);
    if (!problems.isEmpty() || lab.topology.devices.isEmpty()) {
        std::fprintf(stderr, "bench_lab_window: %s did not read: %s\n", what, qPrintable(problems.join("; ")));
        return false;
    }
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = Stopwatch::now();
        LabWindow window;
        window.show_lab(lab, true);
        window.resize(1100, 700);
        window.show();
        window.repaint();
        QApplication::processEvents();
        times.push_back(ms_since(start));
        // LAB_WINDOW_SHOT=FILE.png keeps a picture of the last, to look at.
        if (run == runs - 1 && qEnvironmentVariableIsSet("LAB_WINDOW_SHOT"))
            window.grab().save(qEnvironmentVariable("LAB_WINDOW_SHOT"));
    }
    print(what, times, "(< 100 ms)", 100);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = std::max(argc > 1 ? std::atoi(argv[1]) : 15, 10);
    const QJsonObject bank_lab = largest_bank_lab();
    const QByteArray label = "lab window: largest bank lab (" + QByteArray::number(bank_lab.value("devices").toArray().size())
                             + " devices) shown, painted";
    const bool ok = time_window(label.constData(), bank_lab, runs)
                    && time_window("lab window: 30 switches, 60+30 links shown, painted", thirty_switches(), runs);
    return ok ? 0 : 1;
}
