// Timings of the results file: saving one attempt of 51 answers, reading
// what the results window shows from ten years of daily attempts (3,650
// attempts of 51 answers), and opening the results window on them. The
// ten-year file is made once and kept in the build folder (XDG_DATA_HOME is
// pointed there), because making it takes a while.
//
//   bench_history [RUNS]   (at least 10; default 15)
#include "bench_figures.h"
#include "harness/history_samples.h"
#include "history/history_store.h"
#include "app/program.h"
#include "gui/results_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QDateTime ten_years_ago(QDate(2016, 1, 1), QTime(18, 0), Qt::UTC);
const QString bank_title = QStringLiteral("Sample bank");
constexpr int days_in_ten_years = 3650;

void bench_save(int runs)
{
    QTemporaryDir folder;
    HistoryStore store(folder.filePath(QStringLiteral("history.sqlite")));
    store.turn_on();
    store.save(sample_attempt(0, ten_years_ago));   // opened before timing
    std::vector<double> times;
    for (int n = 1; n <= std::max(runs, 50); ++n) {
        const AttemptRecord attempt = sample_attempt(n, ten_years_ago.addDays(n));
        const auto start = Stopwatch::now();
        store.save(attempt);
        times.push_back(ms_since(start));
    }
    print("saving one attempt of 51 answers", times, "target < 10", 10.0);
}

QString ten_year_file()
{
    const QString path = HistoryStore::default_path();
    QDir().mkpath(QFileInfo(path).absolutePath());
    HistoryStore store(path);
    if (!store.is_on()) {
        std::printf("(making %s once: %d attempts)\n", qPrintable(QDir::toNativeSeparators(path)), days_in_ten_years);
        store.turn_on();
        for (int day = 0; day < days_in_ten_years; ++day)
            store.save(sample_attempt(day, ten_years_ago.addDays(day), bank_title));
    }
    return path;
}

void bench_ten_years(int runs)
{
    const QString path = ten_year_file();
    std::vector<double> opened, attempts, topics, due;
    for (int run = 0; run < runs; ++run) {
        HistoryStore store(path);
        auto start = Stopwatch::now();
        const size_t count = store.attempts(bank_title).size();
        attempts.push_back(ms_since(start));
        start = Stopwatch::now();
        store.topic_results(bank_title);
        topics.push_back(ms_since(start));
        start = Stopwatch::now();
        store.due_questions(bank_title, ten_years_ago.addDays(days_in_ten_years));
        due.push_back(ms_since(start));
        if (count != days_in_ten_years)
            std::printf("expected %d attempts, found %zu\n", days_in_ten_years, count);
    }
    print("ten years: open and list the attempts", attempts);
    print("ten years: right and asked per topic", topics);
    print("ten years: questions due for review", due);
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// From the click to the window laid out and painted, the file opened afresh.
void bench_results_window(int runs)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        Program program(ModalSeam{[](QWidget *, const QString &, const QString &) {}, [](QDialog &) {},
                                  [](QWidget *, const QString &, const QString &, int) { return ResultChoice::ok; },
                                  [](QWidget *, const QString &, const QString &) { return false; }});
        program.bank.test_title = bank_title;
        const auto start = Stopwatch::now();
        ResultsWindow &window = program.windows.get<ResultsWindow>();
        window.show();
        window.repaint();
        times.push_back(ms_since(start));
        program.windows.unload<ResultsWindow>();
        settle();
    }
    print("ten years: the results window opened and painted", times, "target < 150", 150.0);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("XDG_DATA_HOME", QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath().toLocal8Bit() + "/history-data");
    QApplication app(argc, argv);
    const int runs = std::max(argc > 1 ? atoi(argv[1]) : 15, 10);
    bench_save(runs);
    bench_ten_years(runs);
    bench_results_window(runs);
    return 0;
}
