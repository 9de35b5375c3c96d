// libFuzzer target for the lab reader: any bytes, read as a lab's JSON, must
// give a lab and problems, never a crash, a hang or unbounded memory; what
// was read is built, proved, marked and described.
#include "lab/lab.h"
#include "lab/lab_limits.h"

#include <QJsonDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList problems;
    const LabDefinition lab = read_lab(QJsonDocument::fromJson(bytes).object(), &problems);
    if (lab.topology.devices.size() > lab_limits::max_devices || lab.topology.links.size() > lab_limits::max_links)
        __builtin_trap();
    prove_lab(lab);
    Network network = build_network(lab, true);
    evaluate_goals(lab.goals, network);
    describe_network(network);
    return 0;
}
