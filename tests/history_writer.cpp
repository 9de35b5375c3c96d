// Saves sample attempts into the results file named on the command line and
// prints each attempt's id once it is committed. Started and killed by
// test_history_faults. Usage: history_writer FILE COUNT
#include "harness/history_samples.h"
#include "history/history_store.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    HistoryStore store(QString::fromLocal8Bit(argv[1]));
    const int count = atoi(argv[2]);
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (int n = 0; n < count; ++n) {
        const std::optional<qint64> id = store.save(sample_attempt(n, start.addSecs(n)));
        if (!id) {
            fprintf(stderr, "%s\n", qPrintable(store.take_notice()));
            return 1;
        }
        printf("%lld\n", static_cast<long long>(*id));
        fflush(stdout);
    }
    return 0;
}
