// Renders every window in typical states to PNG files, for the README and
// for looking at the layout without a display:
//   QT_QPA_PLATFORM=offscreen [QT_SCALE_FACTOR=2] window_shots OUTPUT_DIR
// The program is driven through the test harness, as a student would; its
// answer window is saved instead of closed.
#include "gui/choosetest.h"
#include "gui/diagram.h"
#include "gui/exam_summary.h"
#include "gui/exhibit.h"
#include "gui/history_actions.h"
#include "gui/pick_a_quiz.h"
#include "gui/program_font.h"
#include "gui/quest.h"
#include "gui/results_window.h"
#include "gui/review_window.h"
#include "gui/welcome.h"
#include "harness/matching_sample.h"
#include "harness/quiz_harness.h"
#include "history/question_identity.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPainter>

namespace {

QString out_dir;

void save(QWidget &window, const QString &name)
{
    window.show();
    QCoreApplication::processEvents();
    window.grab().save(QDir(out_dir).filePath(name + QStringLiteral(".png")));
}

// Light text on dark grey, as a dark desktop theme sets it.
QPalette dark_palette()
{
    QPalette palette;
    const QColor window(0x2b, 0x2b, 0x2b), base(0x1e, 0x1e, 0x1e), text(0xe8, 0xe8, 0xe8);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x6e, 0xb4));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    return palette;
}

// Two months of made-up attempts, getting better, the last one three days
// ago; then the options window with its scores and due quiz, and the results.
void save_history_windows(Program &program, const QString &suffix)
{
    if (!program.history.is_on()) {
        program.history.turn_on();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int n = 0; n < 30; ++n) {
            AttemptRecord attempt;
            attempt.bank_title = program.bank.test_title;
            attempt.quiz = n % 4 + 1;
            attempt.ended = now.addDays(2 * n - 61);
            attempt.started = attempt.ended.addSecs(-900 - 20 * n);
            for (qint16 id = qint16(attempt.quiz); id <= program.bank.total_questions; id = qint16(id + 4)) {
                const bool right = (id * 7 + n * 3) % 20 < 10 + n / 3;
                attempt.answers.push_back({id, question_hash(program.bank.at(id)), program.bank.at(id).topic, {}, right, 15000});
                attempt.right += right ? 1 : 0;
            }
            attempt.asked = int(attempt.answers.size());
            program.history.save(attempt);
        }
    }
    // What the navigator shows when the options window comes up.
    auto &options = program.windows.get<pick_a_quiz>();
    options.show_history(program.history.attempts(program.bank.test_title),
                         int(due_for_review(program.history, program.modal, program.bank, &options).size()));
    save(options, QStringLiteral("pick_a_quiz-history") + suffix);
    auto &results = program.windows.get<ResultsWindow>();
    save(results, QStringLiteral("results") + suffix);
    ctl<QTabWidget>(results, "tabs")->setCurrentIndex(1);
    save(results, QStringLiteral("results-topics") + suffix);
    ctl<QTabWidget>(results, "tabs")->setCurrentIndex(0);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    apply_program_font();
    out_dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out_dir);

    // Results are kept in the harness's folder of its own, not the user's.
    QuizHarness harness;
    Program &program = harness.program;
    program.modal.exec = [](QDialog &dialog) { save(dialog, QStringLiteral("theanswer")); };
    save(harness.start_program(), QStringLiteral("welcome"));

    // Quiz 1 in bank order; make its second question a typed one, and give
    // the first a clue and attachments.
    auto &bank = program.bank;
    bank.at(1).clue = QStringLiteral("Think of what a switch knows.");
    bank.at(1).exhibits[1] = QStringLiteral("exhibit.txt");
    bank.at(1).diagrams[1] = QStringLiteral("diagram.png");
    question_record typed;
    typed.question = QStringLiteral("Type the EtherType value that marks an IEEE 802.1Q tag.");
    typed.question_type = QStringLiteral("fill_in");
    typed.answers[1] = QStringLiteral("0x8100");
    bank.at(5) = typed;
    bank.at(13) = port_states_matching();
    auto &options = harness.agree();
    save(options, QStringLiteral("pick_a_quiz"));
    ctl<QCheckBox>(options, "random_questions")->setChecked(false);
    ctl<QCheckBox>(options, "random_answers")->setChecked(false);
    options.Command1_Click();

    auto &window = program.windows.get<quest>();
    save(window, QStringLiteral("quest-choice"));
    ctl<QPushButton>(window, "QChoice_", 2)->setChecked(true);
    window.NextButton_Click();  // wrong on purpose: the answer window is saved
    save(window, QStringLiteral("quest-typed"));
    ctl<QPlainTextEdit>(window, "abox_", 1)->setPlainText(QStringLiteral("0x8100"));
    window.NextButton_Click();
    save(window, QStringLiteral("quest-next"));
    // Question 4 matches: one pair left wrong, and the answer window after it.
    harness.answer(window, true);
    const QList<QComboBox *> lists = ctl<QWidget>(window, "matching")->findChildren<QComboBox *>();
    for (int stem = 0; stem < lists.size(); ++stem)
        lists[stem]->setCurrentIndex(lists[stem]->findText(bank.at(13).matches[size_t(stem == 3 ? 3 : stem + 1)]));
    save(window, QStringLiteral("quest-matching"));
    const auto exec = program.modal.exec;
    program.modal.exec = [](QDialog &dialog) { save(dialog, QStringLiteral("theanswer-matching")); };
    window.NextButton_Click();
    program.modal.exec = exec;

    QImage picture(400, 240, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("A diagram"));
    painter.end();
    auto &diagram = program.windows.get<Diagram>();
    diagram.show_picture(picture, QStringLiteral("A white picture with the words \"A diagram\"."));
    save(diagram, QStringLiteral("diagram"));
    auto &exhibit = program.windows.get<Exhibit>();
    exhibit.show_text(QStringLiteral("Port  State       Role\r\n1     Forwarding  Root\r\n2     Discarding  Alternate\r\n"));
    save(exhibit, QStringLiteral("exhibit"));
    save(program.windows.get<choosetest>(), QStringLiteral("choosetest"));

    // An exam of quiz 1 in the same window: the first two questions
    // answered, the second flagged, then the summary, and submitted.
    QuizOptions exam;
    exam.random_questions = exam.random_answers = false;
    exam.exam_mode = true;
    exam.exam_minutes = program.session.state().questions_per_quiz;
    program.session.start(exam);
    ctl<QPushButton>(window, "QChoice_", 3)->setChecked(true);
    window.NextButton_Click();
    ctl<QPlainTextEdit>(window, "abox_", 1)->setPlainText(QStringLiteral("0x8100"));
    ctl<QCheckBox>(window, "exam_flag")->click();
    save(window, QStringLiteral("quest-exam"));
    // Four minutes left: the warning shows.
    const Clock real_clock = program.clock;
    const qint64 later = qint64(exam.exam_minutes - 4) * 60'000;
    program.clock = [real_clock, later] { return real_clock() + later; };
    program.session.tick();
    save(window, QStringLiteral("quest-exam-warning"));
    ctl<QPushButton>(window, "exam_submit")->click();
    auto &summary = program.windows.get<ExamSummary>();
    save(summary, QStringLiteral("exam-summary"));
    ctl<QPushButton>(summary, "submit_button")->click();  // asked, "Yes"; the result box, OK
    // Another exam, left until its time is up: "Time is up" in its column,
    // as the result box comes.
    program.clock = real_clock;
    quest &timed = program.windows.get<quest>();
    program.session.start(exam);
    timed.show();
    const qint64 at_the_end = qint64(exam.exam_minutes) * 60'000;
    program.clock = [real_clock, at_the_end] { return real_clock() + at_the_end; };
    const auto result_box = program.modal.result;
    program.modal.result = [&](QWidget *parent, const QString &title, const QString &text, int missed) {
        save(timed, QStringLiteral("quest-exam-time-up"));
        return result_box(parent, title, text, missed);
    };
    program.session.tick();
    program.modal.result = result_box;
    program.clock = real_clock;

    // The review of a quiz with every third answer wrong, also in a dark palette.
    harness.result_choice = ResultChoice::review;
    quest &practice = harness.start_quiz(1, false, false, false, false);
    for (int n = 0; program.session.in_progress(); ++n)
        harness.answer(practice, n % 3 != 2);
    auto &review = program.windows.get<ReviewWindow>();
    ctl<QRadioButton>(review, "show_wrong")->setChecked(true);
    save(review, QStringLiteral("review"));

    save_history_windows(program, QString());
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(dark_palette());
    save(review, QStringLiteral("review-dark"));
    save_history_windows(program, QStringLiteral("-dark"));
    return 0;
}
