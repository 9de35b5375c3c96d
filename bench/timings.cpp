// Timings inside the program, each the median of repeated runs: filling the
// question bank, NEXT on the question window, a whole quiz driven through
// the windows, and opening large exhibits.
//
//   bench_timings [RUNS [bank|quiz|exhibits]]   (RUNS at least 10; default 15)
// Naming one part runs only that part, for profiling.
#include "app/navigator.h"
#include "app/program.h"
#include "bank/bank_loaders.h"
#include "bench_figures.h"
#include "gui/centering.h"
#include "gui/exhibit.h"
#include "gui/pick_a_quiz.h"
#include "gui/pictures.h"
#include "gui/program_font.h"
#include "gui/quest.h"
#include "gui/text_lines_view.h"
#include "gui/welcome.h"
#include "harness/controls.h"
#include "quiz/exhibit_file.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Lets deferred deletions, layout and painting run, as the event loop would
// between two clicks.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Writes a text exhibit of about `bytes` bytes: a port table, some lines
// ending in CR LF and some in LF.
bool write_exhibit(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    for (int port = 1; chunk.size() < 64 * 1024; ++port) {
        chunk += "port 1/" + QByteArray::number(port % 48 + 1) + "\r\n";
        chunk += " description access port for the lab bench, row " + QByteArray::number(port) + "\n";
        chunk += " untagged member of VLAN " + QByteArray::number(port % 400 + 2) + "\n";
        chunk += " edge port, BPDU guard on\n\n";
    }
    qint64 written = 0;
    while (written < bytes) {
        const QByteArray piece = chunk.left(int(std::min<qint64>(chunk.size(), bytes - written)));
        written += file.write(piece);
    }
    return true;
}

class Timings
{
public:
    explicit Timings(int runs)
        : runs_(runs),
          program_(ModalSeam{[](QWidget *, const QString &, const QString &) {},
                             [](QDialog &dialog) {
                                 // Shown, painted, and closed at once.
                                 dialog.show();
                                 settle();
                                 dialog.hide();
                             },
                             [](QWidget *, const QString &, const QString &, int) { return ResultChoice::ok; },
                             [](QWidget *, const QString &, const QString &) { return true; }})
    {
    }

    void bank()
    {
        QuestionBank bank;
        for (int i = 0; i < 5; ++i)
            fill_question_bank(bank);
        std::vector<double> times;
        for (int i = 0; i < std::max(runs_, 100); ++i) {
            const auto start = Clock::now();
            fill_question_bank(bank);
            times.push_back(ms_since(start));
        }
        print("fill_question_bank, the whole bank", times, "target < 2", 2.0);
        std::printf("   (%d questions)\n", int(bank.total_questions));
    }

    void quizzes()
    {
        navigator_.open_first_window(QString());
        center_window(program_.windows.get<Welcome>());
        settle();

        std::vector<double> next_handler, next_shown, whole, whole_with_answers;
        int questions = 0;
        for (int run = 0; run < runs_ + 1; ++run) {
            const bool with_answers = run % 2 == 1;
            double quiz_ms = 0;
            questions = take_quiz(run % 4 + 1, with_answers, run == 0 ? nullptr : &next_handler,
                                  run == 0 ? nullptr : &next_shown, quiz_ms);
            if (run == 0)
                continue;  // warm-up
            (with_answers ? whole_with_answers : whole).push_back(quiz_ms);
        }
        // More whole quizzes until each kind has its runs.
        while (int(whole.size()) < runs_ || int(whole_with_answers.size()) < runs_) {
            const bool with_answers = int(whole.size()) >= runs_;
            double quiz_ms = 0;
            take_quiz(int(whole.size() + whole_with_answers.size()) % 4 + 1, with_answers, nullptr, nullptr, quiz_ms);
            (with_answers ? whole_with_answers : whole).push_back(quiz_ms);
        }

        print("NEXT: its handler (marked, next question set)", next_handler);
        print("NEXT to the next question laid out and painted", next_shown, "target < 2", 2.0);
        char label[80];
        std::snprintf(label, sizeof label, "a whole %d-question quiz through the windows", questions);
        print(label, whole);
        print("   the same, the answer window after each answer", whole_with_answers);
    }

    void exhibits()
    {
        QTemporaryDir dir;
        const QString small = dir.filePath(QStringLiteral("exhibit-1mb.txt"));
        const QString large = dir.filePath(QStringLiteral("exhibit-20mb.txt"));
        if (!dir.isValid() || !write_exhibit(small, 1 << 20) || !write_exhibit(large, 20 << 20)) {
            std::printf("exhibits: cannot write the exhibit files\n");
            return;
        }
        auto &exhibit = program_.windows.get<Exhibit>();
        exhibit.show();
        center_window(exhibit);
        settle();

        struct Figures {
            std::vector<double> read, shown, painted;
        };
        const auto open = [&](const QString &path, Figures &figures) {
            exhibit.show_text(QString());
            settle();
            const auto start = Clock::now();
            const std::optional<QString> text = read_exhibit(path);
            const double read = ms_since(start);
            exhibit.show_text(text.value_or(QString()));
            const double shown = ms_since(start);
            settle();
            figures.read.push_back(read);
            figures.shown.push_back(shown);
            figures.painted.push_back(ms_since(start));
        };
        Figures small_figures, large_figures, unused;
        open(small, unused);  // warm-up
        for (int run = 0; run < runs_; ++run) {
            open(small, small_figures);
            open(large, large_figures);
        }
        const double small_ms = median(small_figures.shown);
        const double large_ms = median(large_figures.shown);
        print("exhibit of 1 MiB: read_exhibit + into the text box", small_figures.shown);
        print("exhibit of 20 MiB: read_exhibit + into the text box", large_figures.shown);
        std::printf("%-50s %9.2f      %-12s %s\n", "   ratio 20 MiB / 1 MiB", large_ms / small_ms, "target < 25",
                    large_ms / small_ms < 25 ? "ok" : "MISSED");
        std::printf("   (read_exhibit alone %.2f / %.2f ms; until painted %.2f / %.2f ms)\n", median(small_figures.read),
                    median(large_figures.read), median(small_figures.painted), median(large_figures.painted));
        program_.windows.unload<Exhibit>();
        settle();
        long_line_exhibit();
    }

private:
    // A 16 MiB exhibit without a line break: opened (read, shown, painted),
    // then repainted scrolled to its start, middle and end.
    void long_line_exhibit()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("exhibit-16mb-one-line.txt"));
        QFile file(path);
        const QByteArray piece("interface port 1/0/1 switchport access vlan 10 spanning-tree portfast; ");
        if (!dir.isValid() || !file.open(QIODevice::WriteOnly)) {
            std::printf("exhibits: cannot write the long-line exhibit\n");
            return;
        }
        for (qint64 written = 0; written < (16 << 20);)
            written += file.write(piece.left(int(std::min<qint64>(piece.size(), (16 << 20) - written))));
        file.close();

        auto &exhibit = program_.windows.get<Exhibit>();
        exhibit.show();
        center_window(exhibit);
        settle();
        QWidget *view = ctl<TextLinesView>(exhibit, "Text1")->viewport();
        QScrollBar *across = ctl<TextLinesView>(exhibit, "Text1")->horizontalScrollBar();
        std::vector<double> opened, repainted;
        for (int run = 0; run < runs_ + 1; ++run) {
            exhibit.show_text(QString());
            settle();
            const auto start = Clock::now();
            exhibit.show_text(read_exhibit(path).value_or(QString()));
            view->repaint();
            const double ms = ms_since(start);
            for (const int position : {0, across->maximum() / 2, across->maximum()}) {
                across->setValue(position);
                const auto painting = Clock::now();
                view->repaint();
                if (run > 0)
                    repainted.push_back(ms_since(painting));
            }
            if (run > 0)  // the first is a warm-up
                opened.push_back(ms);
        }
        print("exhibit of 16 MiB in one line: read, shown, painted", opened, "target < 100", 100);
        print("   a repaint of it at its start, middle or end", repainted, "target < 16", 16);
        program_.windows.unload<Exhibit>();
        settle();
    }

    // From "I Agree" through the options and every question to the report.
    // Returns the number of questions; adds each NEXT but the last to the
    // given lists.
    int take_quiz(int quiz, bool with_answers, std::vector<double> *handler, std::vector<double> *shown,
                  double &quiz_ms)
    {
        ctl<QPushButton>(program_.windows.get<Welcome>(), "Start_Quiz")->click();
        settle();
        const pick_a_quiz &options = program_.windows.get<pick_a_quiz>();
        ctl<QRadioButton>(options, "which_quiz_", size_t(quiz))->setChecked(true);
        ctl<QCheckBox>(options, "random_questions")->setChecked(true);
        ctl<QCheckBox>(options, "random_answers")->setChecked(true);
        ctl<QCheckBox>(options, "answer_when_wrong")->setChecked(with_answers);
        ctl<QCheckBox>(options, "answer_when_right")->setChecked(with_answers);

        const auto start = Clock::now();
        ctl<QPushButton>(options, "Command1")->click();
        settle();
        int asked = 0;
        while (program_.windows.is_loaded<quest>()) {
            quest &window = program_.windows.get<quest>();
            const question_record &record = program_.session.state().current_record;
            // Every other answer right, the rest left unanswered.
            if (asked % 2 == 0) {
                for (size_t p = 1; p <= 6; ++p) {
                    if (record.correct[p] == 1 && !ctl<QPushButton>(window, "QChoice_", p)->isHidden())
                        ctl<QPushButton>(window, "QChoice_", p)->click();
                }
            }
            const bool last = program_.session.state().current_question == program_.session.state().questions_per_quiz;
            const auto pressed = Clock::now();
            ctl<QPushButton>(window, "NextButton")->click();
            const double handled = ms_since(pressed);
            settle();
            const double laid_out = ms_since(pressed);
            ++asked;
            if (!last && handler && shown && !with_answers) {
                handler->push_back(handled);
                shown->push_back(laid_out);
            }
        }
        quiz_ms = ms_since(start);
        return asked;
    }

    int runs_;
    Program program_;
    Navigator navigator_{program_};
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(window_icon());
    apply_program_font();
    QApplication::setQuitOnLastWindowClosed(false);
    const int runs = std::max(10, argc > 1 ? std::atoi(argv[1]) : 15);

    const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();

    Timings timings(runs);
    if (only.isEmpty() || only == "bank")
        timings.bank();
    if (only.isEmpty() || only == "quiz")
        timings.quizzes();
    if (only.isEmpty() || only == "exhibits")
        timings.exhibits();
    return 0;
}
