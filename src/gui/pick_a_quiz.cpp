#include "gui/pick_a_quiz.h"

#include "bank/question_bank.h"
#include "flow/quiz_session.h"
#include "gui/proportional_resizer.h"
#include "gui/window_services.h"
#include "history/results_summary.h"
#include "quiz/question_order.h"
#include "ui_pick_a_quiz.h"

#include <QButtonGroup>
#include <QKeyEvent>

namespace {
// Only a checked box counts as on; the partial (grey) state is off.
bool flag(const QCheckBox &box)
{
    return box.checkState() == Qt::Checked;
}

} // namespace

pick_a_quiz::pick_a_quiz(WindowServices &services) : bank_(services.bank)
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
    show_history({}, 0);
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
    const int questions = ui().due_quiz->isChecked() ? due_count_ : questions_in_quiz(checked_quiz(), bank_.total_questions);
    const QSignalBlocker quiet(ui().exam_minutes);
    ui().exam_minutes->setValue(questions);
}

void pick_a_quiz::show_history(const std::vector<AttemptSummary> &attempts, int due_count)
{
    for (size_t n = 1; n <= 4; ++n) {
        const QString scores = quiz_scores_text(quiz_scores(attempts, int(n)));
        last_best[n]->setText(scores);
        last_best[n]->setVisible(!scores.isEmpty());
        // Tied to its quiz for a screen reader: the label names its quiz, and
        // the quiz's button is described by its scores.
        last_best[n]->setBuddy(which_quiz[n]);
        last_best[n]->setAccessibleName(scores.isEmpty() ? QString() : tr("%1: %2").arg(which_quiz[n]->text(), scores));
        which_quiz[n]->setAccessibleDescription(scores);
    }
    due_count_ = due_count;
    ui().due_quiz->setText(tr("&Due for review (%1)").arg(due_count));
    ui().due_quiz->setVisible(due_count > 0);
    if (due_count == 0 && ui().due_quiz->isChecked())
        ui().which_quiz_1->setChecked(true);
    suggest_exam_minutes();
}

void pick_a_quiz::Command1_Click()
{
    QuizOptions options;
    if (const qint16 n = checked_quiz())
        options.quiz_number = n;
    options.due_for_review = ui().due_quiz->isChecked();
    options.show_when_right = flag(*ui().answer_when_right);
    options.show_when_wrong = flag(*ui().answer_when_wrong);
    options.random_questions = flag(*ui().random_questions);
    options.random_answers = flag(*ui().random_answers);
    options.exam_mode = flag(*ui().exam_mode);
    options.exam_minutes = ui().exam_minutes->value();
    setCursor(Qt::WaitCursor);
    emit startRequested(options);
    unsetCursor();
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
    emit backRequested();
    return false;
}

void pick_a_quiz::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
