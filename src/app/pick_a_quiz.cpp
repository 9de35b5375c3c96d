#include "pick_a_quiz.h"

#include "centering.h"
#include "program.h"
#include "proportional_resizer.h"
#include "question_order.h"
#include "quest.h"
#include "ui_pick_a_quiz.h"
#include "welcome.h"

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
}

pick_a_quiz::~pick_a_quiz() = default;

void pick_a_quiz::Form_Load()
{
    program_.random.reseed_from_clock();
}

void pick_a_quiz::Command1_Click()
{
    QuizState &state = program_.state;
    program_.random.reseed_from_clock();
    setCursor(Qt::WaitCursor);
    for (qint16 n = 1; n <= 4; ++n) {
        if (which_quiz[size_t(n)]->isChecked())
            state.selected_quiz = state.question_id = n;
    }
    state.show_when_right = flag(*ui().answer_when_right);
    state.show_when_wrong = flag(*ui().answer_when_wrong);
    state.random_question_order = flag(*ui().random_questions);
    state.random_answer_order = flag(*ui().random_answers);
    state.number_right = 0;

    // Unloading the welcome window also unloads this one (and any earlier
    // question window); this object lives on until the event loop deletes it.
    program_.windows.unload<Welcome>();

    auto &question_window = program_.windows.get<quest>();
    question_window.show();
    center_window(question_window);
    state.quiz_number = state.selected_quiz;
    state.quiz_questions = quiz_bank_questions(state.questions_per_quiz, state.quiz_number);
    build_question_order(state, program_.random);
    state.question_id = 0;
    state.current_question = 0;
    state.number_right = 0;
    program_.answers.clear();
    question_window.show_quest();
    unsetCursor();
    hide();
}

void pick_a_quiz::Form_Unload()
{
    program_.windows.unload<Welcome>();
}
