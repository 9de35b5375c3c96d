#include "gui/exam_controller.h"

#include "gui/centering.h"
#include "gui/diagram.h"
#include "gui/exhibit.h"
#include "gui/exam_summary.h"
#include "app/program.h"
#include "gui/quest.h"
#include "quiz/question_presentation.h"
#include "ui_quest.h"

namespace {

void show_exam_controls(Ui::quest &ui)
{
    // The score stays hidden until the end: the exam's controls take its place.
    for (QWidget *widget : std::initializer_list<QWidget *>{ui.Gauge1, ui.the_gauge, ui.Percent_Right, ui.score,
                                                            ui.Label2, ui.Line1, ui.Line2})
        widget->hide();
    for (QWidget *widget : std::initializer_list<QWidget *>{ui.exam_time_caption, ui.exam_time_left, ui.exam_warning,
                                                            ui.exam_flag, ui.exam_back, ui.exam_submit})
        widget->show();
    ui.exam_warning->clear();
    ui.exam_time_left->setAutoFillBackground(false);
    ui.exam_time_left->setBackgroundRole(QPalette::Window);
    ui.exam_time_left->setForegroundRole(QPalette::WindowText);
}

} // namespace

QString time_left_text(qint64 milliseconds)
{
    const qint64 seconds = (std::max<qint64>(milliseconds, 0) + 999) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

ExamController::ExamController(quest &window, Program &program)
    : QObject(&window), window_(window), program_(program),
      session_(program.state.questions_per_quiz, qint64(program.state.exam_minutes) * 60'000, program.clock())
{
    QuizState &state = program_.state;
    program_.random.reseed_from_clock();
    // Every question is laid out once, so that going back shows it as before.
    for (int p = 1; p <= session_.count(); ++p) {
        const qint16 id = state.quiz_questions.at(size_t(state.question_order.at(size_t(p))));
        const PresentedQuestion shown = present_question(program_.bank.at(id), state.random_answer_order == 1,
                                                         program_.random);
        session_.set_question(p, id, shown.record);
    }
    state.number_right = 0;
    Ui::quest &ui = window_.ui();
    show_exam_controls(ui);
    connect(ui.exam_back, &QPushButton::clicked, this, &ExamController::back);
    connect(ui.exam_submit, &QPushButton::clicked, this, &ExamController::open_summary);
    connect(ui.exam_flag, &QCheckBox::clicked, this,
            [this](bool on) { session_.set_flagged(session_.current(), on); });
    connect(&timer_, &QTimer::timeout, this, &ExamController::tick);
    timer_.start(250);
    show_position(1);
    tick();
}

void ExamController::keep_answer()
{
    const LoggedAnswer shown = window_.answer_on_screen();
    session_.keep(session_.current(), shown.choice, shown.typed);
}

void ExamController::show_position(int position)
{
    // A diagram or exhibit belongs to the question it was opened from.
    program_.windows.unload<Diagram>();
    program_.windows.unload<Exhibit>();
    session_.go_to(position, program_.clock());
    const int p = session_.current();
    const LoggedAnswer &answer = session_.answer(p);
    QuizState &state = program_.state;
    state.current_question = qint16(p);
    state.question_id = answer.bank_index;
    state.current_record = answer.shown;
    state.answer_count = 0;
    for (size_t n = 1; n <= 6; ++n)
        state.answer_count += answer.shown.answers[n].trimmed().isEmpty() ? 0 : 1;

    Ui::quest &ui = window_.ui();
    ui.qid->setText(QString::number(state.question_id));
    ui.question_number->setText(QString::number(p));
    window_.lay_out_question();
    if (answer.typed_question()) {
        window_.abox[1]->setPlainText(answer.typed);
        window_.abox[1]->moveCursor(QTextCursor::End);
    } else {
        for (size_t n = 1; n <= 6; ++n)
            window_.QChoice[n]->setChecked(answer.choice.pressed[n]);
    }
    ui.exam_flag->setChecked(session_.flagged(p));
    ui.exam_back->setEnabled(p > 1);
}

void ExamController::next()
{
    keep_answer();
    if (session_.current() >= session_.count())
        open_summary();
    else
        show_position(session_.current() + 1);
}

void ExamController::back()
{
    keep_answer();
    show_position(session_.current() - 1);
}

void ExamController::go_to(int position)
{
    keep_answer();
    show_position(position);
}

void ExamController::open_summary()
{
    keep_answer();
    auto &summary = program_.windows.get<ExamSummary>();
    summary.show_session(
        session_,
        [this](int position) {
            program_.windows.unload<ExamSummary>();
            show_position(position);
            window_.activateWindow();
        },
        [this, &summary] {
            if (confirm_submit(&summary, summary.windowTitle()))
                submit();
        });
    summary.show();
    center_window(summary);
}

bool ExamController::confirm_submit(QWidget *parent, const QString &title)
{
    return program_.modal.ask(parent, title,
                              tr("%1 unanswered and %2 flagged. Submit anyway?")
                                  .arg(session_.unanswered_count())
                                  .arg(session_.flagged_count()));
}

void ExamController::ask_to_submit()
{
    keep_answer();
    if (confirm_submit(&window_, tr("Submit the exam")))
        submit();
}

void ExamController::submit()
{
    if (submitted_)
        return;
    submitted_ = true;
    timer_.stop();
    keep_answer();
    program_.windows.unload<ExamSummary>();
    program_.windows.unload<Diagram>();
    program_.windows.unload<Exhibit>();
    program_.answers.clear();
    for (LoggedAnswer &answer : session_.submit(program_.clock()))
        program_.answers.add(std::move(answer));
    QuizState &state = program_.state;
    state.number_right = qint16(program_.answers.right_count());
    state.current_question = qint16(session_.count() + 1);  // past the last, as after NEXT on it
    window_.end_the_test();
}

void ExamController::tick()
{
    if (submitted_)
        return;
    const qint64 now = program_.clock();
    Ui::quest &ui = window_.ui();
    ui.exam_time_left->setText(time_left_text(session_.remaining_ms(now)));
    const ExamSession::Warning warning = session_.warning_due(now);
    if (warning != ExamSession::Warning::none) {
        ui.exam_warning->setText(warning == ExamSession::Warning::five_minutes ? tr("5 minutes left")
                                                                               : tr("1 minute left"));
        // Highlighted in the palette's colours, so it shows in any theme.
        ui.exam_time_left->setAutoFillBackground(true);
        ui.exam_time_left->setBackgroundRole(QPalette::Highlight);
        ui.exam_time_left->setForegroundRole(QPalette::HighlightedText);
    }
    if (session_.time_up(now)) {
        ui.exam_warning->setText(tr("Time is up"));
        submit();
    }
}
