// Timings of the review after a quiz: opening the review window (filled,
// laid out and painted) for a quiz of 51 and one of 500 questions.
//
//   bench_review [RUNS]   (at least 10; default 15)
#include "harness/answer_samples.h"
#include "bank/bank_loaders.h"
#include "bench_figures.h"
#include "app/program.h"
#include "gui/review_window.h"

#include <QApplication>

namespace {

void bench_open(Program &program, int questions, int runs)
{
    fill_sample_log(program, questions);
    std::vector<double> times;
    for (int run = 0; run < runs + 1; ++run) {
        const auto start = Stopwatch::now();
        auto &review = program.windows.get<ReviewWindow>();
        review.show();
        QCoreApplication::processEvents();  // laid out and painted
        const double elapsed = ms_since(start);
        if (run > 0)  // the first run loads fonts and styles
            times.push_back(elapsed);
        review.hide();
        program.windows.end_program();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const QByteArray label = QByteArray("review window opened, ") + QByteArray::number(questions) + " questions";
    print(label.constData(), times, "target < 50", 50.0);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = std::max(argc > 1 ? std::atoi(argv[1]) : 15, 10);
    Program program;
    fill_question_bank(program.bank);
    bench_open(program, 51, runs);
    bench_open(program, 500, runs);
    return 0;
}
