// Timings of the review after a quiz: opening the review window (filled,
// laid out and painted) for a quiz of 51 and one of 500 questions.
//
//   bench_review [RUNS]   (at least 10; default 15)
#include "app/program.h"
#include "bank/bank_loaders.h"
#include "bench_figures.h"
#include "flow/quiz_session.h"
#include "gui/review_window.h"

#include <QApplication>

namespace {

// A quiz of the bank's questions in turn, answered through the session with
// every third answer wrong: the answer log the review shows.
void answer_a_quiz(Program &program, int questions)
{
    std::vector<qint16> bank_questions;
    for (int n = 0; n < questions; ++n)
        bank_questions.push_back(qint16(n % program.bank.total_questions + 1));
    QuizOptions options;
    options.random_questions = options.random_answers = options.show_when_wrong = false;
    program.session.start_with(options, bank_questions);
    for (int n = 0; program.session.in_progress(); ++n) {
        const question_record &shown = program.session.state().current_record;
        const bool wrong = n % 3 == 2;
        StudentAnswer answer;
        for (size_t p = 1; p <= 6; ++p) {
            answer.choice.visible[p] = !shown.answers[p].isEmpty();
            answer.choice.pressed[p] = (shown.correct[p] == 1) != (wrong && p <= 2);
        }
        answer.typed = shown.answers[wrong ? 6 : 1];
        program.session.next(answer);
    }
}

void bench_open(Program &program, int questions, int runs)
{
    answer_a_quiz(program, questions);
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
