#include "app/navigator.h"

#include "app/program.h"
#include "bank/bank_loaders.h"
#include "bank/formats/bank_choice.h"
#include "gui/centering.h"
#include "gui/choosetest.h"
#include "gui/diagram.h"
#include "gui/exam_summary.h"
#include "gui/exhibit.h"
#include "gui/history_actions.h"
#include "gui/lab_window.h"
#include "gui/pick_a_quiz.h"
#include "gui/quest.h"
#include "gui/results_window.h"
#include "gui/review_window.h"
#include "gui/theanswer.h"
#include "gui/welcome.h"
#include "quiz/exhibit_file.h"
#include "quiz/quiz_texts.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace {

// Shown in front of the others, with the keyboard's focus.
void bring_forward(QWidget &window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

// Closes whatever modal window is open: a dialog is rejected, so whoever
// waits on it gets "No" or "Close".
void close_modal_windows()
{
    for (int tries = 0; tries < 16; ++tries) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

constexpr int modal_poll_ms = 50;

} // namespace

Navigator::Navigator(Program &program) : program_(program)
{
    program_.windows.on_created = [this](QWidget &window) { window_created(window); };
    program_.windows.on_unloaded = [this](QWidget &window) { window_unloaded(window); };
    QuizSession &session = program_.session;
    connect(&session, &QuizSession::questionShown, this, [this] {
        close_question_windows();
        open_lab();
    });
    connect(&session, &QuizSession::answerMarked, this, [this](bool, bool show) {
        if (show)
            show_answer();
    });
    connect(&session, &QuizSession::summaryRequested, this, &Navigator::open_exam_summary);
    connect(&session, &QuizSession::timeUp, this, &Navigator::submit_when_no_modal_is_open);
    connect(&session, &QuizSession::quizEnded, this, &Navigator::quiz_ended);
}

void Navigator::open_first_window(const QString &bank_file)
{
    OpenedBank opened;
    if (!bank_file.isEmpty())
        opened = open_bank_file(bank_file);
    program_.chosen_bank = std::move(opened.bank);
    show_welcome();
    if (!opened.error.isEmpty())
        program_.modal.message(&program_.windows.get<Welcome>(), bank_message_title, opened.error);
}

void Navigator::window_created(QWidget &window)
{
    if (auto *welcome = qobject_cast<Welcome *>(&window)) {
        connect(welcome, &Welcome::agreed, this, &Navigator::agree);
        connect(welcome, &Welcome::exitRequested, this, [this] { program_.windows.end_program(); });
        connect(welcome, &Welcome::bankRequested, this, &Navigator::choose_bank);
    } else if (auto *options = qobject_cast<pick_a_quiz *>(&window)) {
        connect(options, &pick_a_quiz::startRequested, this, &Navigator::start_quiz);
        connect(options, &pick_a_quiz::resultsRequested, this, &Navigator::show_results);
        connect(options, &pick_a_quiz::backRequested, this, &Navigator::back_to_welcome_from_options);
    } else if (auto *chooser = qobject_cast<choosetest *>(&window)) {
        connect(chooser, &choosetest::bankChosen, this, &Navigator::use_bank);
        connect(chooser, &choosetest::exitRequested, this, [this] {
            program_.windows.unload<Welcome>();
            program_.windows.end_program();
        });
    } else if (auto *question = qobject_cast<quest *>(&window)) {
        connect(question, &quest::diagramRequested, this, &Navigator::open_diagram);
        connect(question, &quest::exhibitRequested, this, &Navigator::open_exhibit);
        connect(question, &quest::labRequested, this, [this] {
            if (lab_window_)
                bring_forward(*lab_window_);
        });
        connect(question, &quest::submitRequested, this,
                [this, question] { confirm_submit(question, QObject::tr("Submit the exam")); });
    } else if (auto *exhibit = qobject_cast<Exhibit *>(&window)) {
        connect(exhibit, &Exhibit::closed, this, &Navigator::back_to_question);
    } else if (auto *diagram = qobject_cast<Diagram *>(&window)) {
        connect(diagram, &Diagram::closed, this, &Navigator::back_to_question);
    } else if (auto *summary = qobject_cast<ExamSummary *>(&window)) {
        connect(summary, &ExamSummary::goToRequested, this, [this](int position) {
            program_.windows.unload<ExamSummary>();
            if (!program_.windows.is_loaded<quest>())
                return;
            quest &question = program_.windows.get<quest>();
            program_.session.go_to(position, question.answer_on_screen());
            question.activateWindow();
        });
        connect(summary, &ExamSummary::submitRequested, this,
                [this, summary] { confirm_submit(summary, summary->windowTitle()); });
    } else if (auto *review = qobject_cast<ReviewWindow *>(&window)) {
        connect(review, &ReviewWindow::retryRequested, this, &Navigator::retry_missed);
        connect(review, &ReviewWindow::keepResultsChanged, this, [this, review](bool keep) {
            const bool was_on = program_.history.is_on();
            keep_results(review, keep);
            // Keeping results from the review keeps the quiz reviewed too.
            if (program_.history.is_on() && !was_on)
                save_quiz(program_.history, program_.modal, program_.session, program_.bank, review);
            review->show_keep_results(program_.history.is_on());
        });
    } else if (auto *results = qobject_cast<ResultsWindow *>(&window)) {
        connect(results, &ResultsWindow::keepResultsChanged, this, [this, results](bool keep) {
            keep_results(results, keep);
            results->refresh();
        });
    }
}

void Navigator::window_unloaded(QWidget &window)
{
    WindowRegistry &windows = program_.windows;
    if (qobject_cast<Welcome *>(&window)) {
        windows.unload<quest>();
        windows.unload<pick_a_quiz>();
        windows.unload<choosetest>();
        close_question_windows();
    } else if (qobject_cast<quest *>(&window)) {
        program_.session.abandon();
        windows.unload<ExamSummary>();
        windows.unload<pick_a_quiz>();
        close_question_windows();
    } else if (qobject_cast<pick_a_quiz *>(&window)) {
        // The results belong with the options.
        windows.unload<ResultsWindow>();
    } else if (qobject_cast<ReviewWindow *>(&window)) {
        if (!retrying_)
            show_welcome();
    } else if (qobject_cast<Exhibit *>(&window) || qobject_cast<Diagram *>(&window)) {
        back_to_question();
    }
}

void Navigator::back_to_question()
{
    // The question window comes forward with the focus where it was.
    if (program_.windows.is_loaded<quest>() && program_.windows.get<quest>().isVisible())
        program_.windows.get<quest>().activateWindow();
}

void Navigator::show_welcome()
{
    // Loading the welcome window puts the bank in place afresh.
    if (program_.chosen_bank)
        program_.bank = *program_.chosen_bank;
    else
        fill_question_bank(program_.bank);
    program_.session.bank_changed();
    WindowRegistry &windows = program_.windows;
    windows.unload<quest>();  // the question window of the quiz just ended
    const bool loaded = windows.is_loaded<Welcome>();
    Welcome &welcome = windows.get<Welcome>();
    if (loaded)
        welcome.show_test();
    welcome.show();
}

void Navigator::agree()
{
    Welcome &welcome = program_.windows.get<Welcome>();
    pick_a_quiz &options = program_.windows.get<pick_a_quiz>();
    refresh_options_history();
    center_window(options);
    options.setVisible(true);
    options.findChild<QWidget *>(QStringLiteral("Command1"))->setFocus();
    welcome.setVisible(false);
}

void Navigator::refresh_options_history()
{
    if (!program_.windows.is_loaded<pick_a_quiz>())
        return;
    pick_a_quiz &options = program_.windows.get<pick_a_quiz>();
    std::vector<AttemptSummary> attempts;
    if (program_.history.is_on())
        attempts = program_.history.attempts(program_.bank.test_title);
    due_for_review_ = due_for_review(program_.history, program_.modal, program_.bank, &options);
    options.show_history(attempts, int(due_for_review_.size()));
}

void Navigator::choose_bank()
{
    auto &chooser = program_.windows.get<choosetest>();
    center_window(chooser);
    bring_forward(chooser);
}

void Navigator::use_bank(std::shared_ptr<const QuestionBank> bank)
{
    program_.chosen_bank = std::move(bank);
    program_.windows.unload<choosetest>();
    // The options and results of the last bank must not show with this one.
    program_.windows.unload<pick_a_quiz>();
    show_welcome();
}

void Navigator::back_to_welcome_from_options()
{
    program_.windows.get<pick_a_quiz>().hide();
    Welcome &welcome = program_.windows.get<Welcome>();
    welcome.show();
    welcome.activateWindow();
}

void Navigator::start_quiz(const QuizOptions &options)
{
    // Unloading the welcome window also unloads the options (and any earlier
    // question window); they live on until the event loop deletes them.
    program_.windows.unload<Welcome>();
    quest &question = program_.windows.get<quest>();
    question.show();
    center_window(question);
    if (options.due_for_review)
        program_.session.start_with(options, due_for_review_);
    else
        program_.session.start(options);
}

void Navigator::show_results()
{
    const bool loaded = program_.windows.is_loaded<ResultsWindow>();
    auto &results = program_.windows.get<ResultsWindow>();
    if (loaded)
        results.refresh();
    else
        center_window(results);
    bring_forward(results);
}

void Navigator::keep_results(QWidget *parent, bool keep)
{
    ::keep_results(program_.history, program_.modal, parent, keep);
    refresh_options_history();
}

void Navigator::close_question_windows()
{
    program_.windows.unload<Diagram>();
    program_.windows.unload<Exhibit>();
    if (lab_window_) {
        lab_window_->hide();
        lab_window_->deleteLater();
        lab_window_ = nullptr;
    }
}

void Navigator::open_lab()
{
    const question_record &record = program_.session.state().current_record;
    if (!is_lab_question(record) || !record.lab || !program_.windows.is_loaded<quest>())
        return;
    quest &question = program_.windows.get<quest>();
    lab_window_ = new LabWindow(&question);
    lab_window_->setWindowFlag(Qt::Window);
    lab_window_->show_lab(*record.lab, !program_.session.exam());
    // Back on a lab in an exam: the network as the student left it.
    if (const LoggedAnswer *kept = program_.session.kept_answer())
        lab_window_->replay(kept->lab.commands);
    const auto hand_in = [this, &question] { question.set_lab_outcome(lab_window_->outcome()); };
    hand_in();
    connect(lab_window_, &LabWindow::command_typed, &question, hand_in);
    lab_window_->resize(lab_window_->sizeHint().expandedTo(QSize(720, 520)));
    place_beside(*lab_window_, question);
    bring_forward(*lab_window_);
}

void Navigator::open_diagram(const QString &name, const QString &description)
{
    const QImage image = read_diagram(name, program_.bank.files);
    if (image.isNull())
        return;
    auto &diagram = program_.windows.get<Diagram>();
    bring_forward(diagram);
    diagram.show_picture(image, description);
}

void Navigator::open_exhibit(const QString &name)
{
    const std::optional<QString> text = read_exhibit(name, program_.bank.files.folder);
    if (!text)
        return;
    auto &exhibit = program_.windows.get<Exhibit>();
    bring_forward(exhibit);
    center_window(exhibit);
    exhibit.show_text(*text);
}

void Navigator::show_answer()
{
    const LoggedAnswer &marked = program_.session.answers().answers().back();
    auto &answer_window = program_.windows.get<theanswer>();
    answer_window.show_feedback(feedback_text(marked));
    center_window(answer_window);
    program_.modal.exec(answer_window);
    program_.windows.unload<theanswer>();
}

void Navigator::open_exam_summary()
{
    const ExamSession *exam = program_.session.exam();
    if (!exam)
        return;
    auto &summary = program_.windows.get<ExamSummary>();
    summary.show_session(*exam);
    summary.show();
    center_window(summary);
}

void Navigator::confirm_submit(QWidget *parent, const QString &title)
{
    const ExamSession *exam = program_.session.exam();
    if (!exam)
        return;
    const bool submit = program_.modal.ask(parent, title,
                                           QObject::tr("%1 unanswered and %2 flagged. Submit anyway?")
                                               .arg(exam->unanswered_count())
                                               .arg(exam->flagged_count()));
    if (submit)
        submit_with_answer_on_screen();
}

void Navigator::submit_with_answer_on_screen()
{
    program_.windows.unload<ExamSummary>();
    // What is on screen counts, as if NEXT had been pressed.
    if (program_.windows.is_loaded<quest>())
        program_.session.keep(program_.windows.get<quest>().answer_on_screen());
    program_.session.submit();
}

void Navigator::submit_when_no_modal_is_open()
{
    // Time is up while a message or question may be open, its handler still
    // waiting on it: close what is open, and mark once every handler has
    // returned, so that no window is deleted under a handler of its own.
    if (program_.open_modals > 0) {
        close_modal_windows();
        QTimer::singleShot(modal_poll_ms, this, &Navigator::submit_when_no_modal_is_open);
        return;
    }
    submit_with_answer_on_screen();
}

void Navigator::quiz_ended()
{
    WindowRegistry &windows = program_.windows;
    windows.unload<ExamSummary>();
    close_question_windows();
    QWidget *parent = windows.is_loaded<quest>() ? &windows.get<quest>() : nullptr;
    const QuizSession &session = program_.session;
    save_quiz(program_.history, program_.modal, session, program_.bank, parent);
    QString report = report_text(session.state().number_right, session.state().current_question);
    if (session.ended_by_time())
        report.prepend(QObject::tr("The time ran out.") + QLatin1Char('\n'));
    const int missed = session.answers().missed_count();
    const ResultChoice choice = program_.modal.result(parent, report_title, report, missed);
    if (choice == ResultChoice::retry_missed && missed > 0)
        program_.session.retry_missed();
    else if (choice == ResultChoice::review)
        open_review();
    else
        show_welcome();
}

void Navigator::open_review()
{
    auto &review = program_.windows.get<ReviewWindow>();
    review.show();
    center_window(review);
    program_.windows.unload<quest>();
}

void Navigator::retry_missed()
{
    retrying_ = true;
    program_.windows.unload<ReviewWindow>();
    retrying_ = false;
    quest &question = program_.windows.get<quest>();
    question.show();
    center_window(question);
    program_.session.retry_missed();
}
