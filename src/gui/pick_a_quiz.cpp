#include "gui/pick_a_quiz.h"

#include "gui/centering.h"
#include "app/history_actions.h"
#include "app/program.h"
#include "gui/proportional_resizer.h"
#include "quiz/question_order.h"
#include "gui/quest.h"
#include "history/results_summary.h"
#include "gui/results_window.h"
#include "ui_pick_a_quiz.h"
#include "gui/welcome.h"

#include <QButtonGroup>
#include <QKeyEvent>

namespace {
// Only a checked box counts as on; the partial (grey) state is off.
qint16 flag(const QCheckBox &box)
{
    return box.checkState() == Qt::Checked ? 1 : 0;
}

} // namespace

pick_a_quiz::pick_a_quiz(Program &program) : program_(program)
{
    which_quiz = {nullptr, ui().which_quiz_1, ui().which_quiz_2, ui().which_quiz_3, ui().which_quiz_4};
    new ProportionalResizer(*this);
    connect(ui().Command1, &QPushButton::clicked, this, &pick_a_quiz::Command1_Click);
    connect(ui().results_button, &QPushButton::clicked, this, &pick_a_quiz::results_button_Click);
    connect(ui().exam_mode, &QCheckBox::toggled, this, &pick_a_quiz::exam_mode_toggled);
    connect(ui().exam_minutes, &QSpinBox::valueChanged, this, [this] { minutes_chosen_ = true; });
    last_best = {nullptr, ui().last_best_1, ui().last_best_2, ui().last_best_3, ui().last_best_4};
    // The quiz of due questions sits outside the frame of the four quizzes
    // and is one choice with them.
    auto *quizzes = new QButtonGroup(this);
    for (QRadioButton *button : {ui().which_quiz_1, ui().which_quiz_2, ui().which_quiz_3, ui().which_quiz_4, ui().due_quiz})
        quizzes->addButton(button);
    // Quizzes of a bank differ by a question when its size is not a multiple of four.
    connect(quizzes, &QButtonGroup::buttonToggled, this, &pick_a_quiz::suggest_exam_minutes);
}

pick_a_quiz::~pick_a_quiz() = default;

void pick_a_quiz::Form_Load()
{
    program_.random.reseed_from_clock();
    show_history();
    suggest_exam_minutes();
}

void pick_a_quiz::exam_mode_toggled(bool on)
{
    // An exam shows no answers until it is submitted.
    ui().answer_when_wrong->setEnabled(!on);
    ui().answer_when_right->setEnabled(!on);
    ui().exam_minutes->setEnabled(on);
}

void pick_a_quiz::suggest_exam_minutes()
{
    if (minutes_chosen_)
        return;
    // A minute per question of the quiz chosen.
    const int questions = ui().due_quiz->isChecked() ? int(due_for_review_.size()) - 1
                                                     : questions_in_quiz(checked_quiz(), program_.bank.total_questions);
    const QSignalBlocker quiet(ui().exam_minutes);
    ui().exam_minutes->setValue(questions);
}

void pick_a_quiz::show_history()
{
    std::vector<AttemptSummary> attempts;
    if (program_.history.is_on())
        attempts = program_.history.attempts(program_.bank.test_title);
    for (size_t n = 1; n <= 4; ++n) {
        last_best[n]->setText(quiz_scores_text(quiz_scores(attempts, int(n))));
        last_best[n]->setVisible(!last_best[n]->text().isEmpty());
    }
    due_for_review_ = due_for_review(program_, this);
    const int due = std::max(int(due_for_review_.size()) - 1, 0);
    ui().due_quiz->setText(tr("&Due for review (%1)").arg(due));
    ui().due_quiz->setVisible(due > 0);
    if (due == 0 && ui().due_quiz->isChecked())
        ui().which_quiz_1->setChecked(true);
}

void pick_a_quiz::results_button_Click()
{
    const bool loaded = program_.windows.is_loaded<ResultsWindow>();
    auto &results = program_.windows.get<ResultsWindow>();
    if (loaded)
        results.refresh();
    else
        center_window(results);
    results.show();
    results.raise();
    results.activateWindow();
}

void pick_a_quiz::Command1_Click()
{
    QuizState &state = program_.state;
    program_.random.reseed_from_clock();
    setCursor(Qt::WaitCursor);
    state.selected_quiz = state.question_id = checked_quiz();
    state.show_when_right = flag(*ui().answer_when_right);
    state.show_when_wrong = flag(*ui().answer_when_wrong);
    state.random_question_order = flag(*ui().random_questions);
    state.random_answer_order = flag(*ui().random_answers);
    state.exam_mode = flag(*ui().exam_mode);
    state.exam_minutes = qint16(ui().exam_minutes->value());
    if (state.exam_mode == 1)
        state.show_when_right = state.show_when_wrong = 0;
    state.number_right = 0;

    // Unloading the welcome window also unloads this one (and any earlier
    // question window); this object lives on until the event loop deletes it.
    program_.windows.unload<Welcome>();

    auto &question_window = program_.windows.get<quest>();
    question_window.show();
    center_window(question_window);
    state.quiz_number = state.selected_quiz;
    set_quiz_questions(state, ui().due_quiz->isChecked() ? due_for_review_
                                                         : quiz_bank_questions(state.quiz_number, program_.bank.total_questions));
    build_question_order(state, program_.random);
    state.question_id = 0;
    state.current_question = 0;
    state.number_right = 0;
    program_.answers.clear();
    question_window.show_first_question();
    unsetCursor();
    hide();
}

// The quiz of the bank chosen, 1..4, or 0 for the questions due for review.
qint16 pick_a_quiz::checked_quiz() const
{
    for (qint16 n = 1; n <= 4; ++n) {
        if (which_quiz[size_t(n)]->isChecked())
            return n;
    }
    return 0;
}

bool pick_a_quiz::Form_QueryUnload()
{
    // Closing the options goes back to the welcome window: the program ends
    // only by its Exit button or by closing it.
    hide();
    Welcome &welcome = program_.windows.get<Welcome>();
    welcome.show();
    welcome.activateWindow();
    return false;
}

void pick_a_quiz::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void pick_a_quiz::Form_Unload()
{
    // The results belong with the options: a quiz starting closes both.
    program_.windows.unload<ResultsWindow>();
    program_.windows.unload<Welcome>();
}
