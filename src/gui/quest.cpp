#include "gui/quest.h"

#include "gui/answer_rows.h"
#include "gui/centering.h"
#include "gui/diagram.h"
#include "gui/exam_controller.h"
#include "gui/exhibit.h"
#include "quiz/exhibit_file.h"
#include "gui/focus_redirect.h"
#include "app/history_actions.h"
#include "quiz/marking.h"
#include "gui/pick_a_quiz.h"
#include "gui/pictures.h"
#include "app/program.h"
#include "gui/proportional_resizer.h"
#include "quiz/question_order.h"
#include "quiz/question_presentation.h"
#include "quiz/quiz_texts.h"
#include "gui/review_window.h"
#include "gui/theanswer.h"
#include "ui_quest.h"
#include "ui_theanswer.h"
#include "gui/welcome.h"

#include <QCoreApplication>
#include <QKeyEvent>

quest::quest(Program &program) : program_(program)
{
    ui().Image1->setPixmap(picture(Picture::strip));
    abox = {nullptr, ui().abox_1, ui().abox_2, ui().abox_3, ui().abox_4, ui().abox_5, ui().abox_6};
    QChoice = {nullptr, ui().QChoice_1, ui().QChoice_2, ui().QChoice_3,
               ui().QChoice_4, ui().QChoice_5, ui().QChoice_6};
    diagrambutton = {nullptr, ui().diagrambutton_1, ui().diagrambutton_2, ui().diagrambutton_3};
    exhibitbutton = {nullptr, ui().exhibitbutton_1, ui().exhibitbutton_2, ui().exhibitbutton_3};

    for (size_t p = 1; p <= 6; ++p) {
        const QString key = QString(QChar(char16_t(u'A' + p - 1)));
        QChoice[p]->setAccessibleName(tr("Answer %1").arg(key));
        QChoice[p]->setToolTip(tr("Choose answer %1 (key %1)").arg(key));
    }
    ui().NextButton->setToolTip(tr("Mark this answer and go on (Enter or Alt+N)"));
    new AnswerRows(*this, abox, QChoice, *ui().NextButton);
    // Enter presses the command button that has the focus; elsewhere (an
    // answer letter, which toggles, or the question) it presses NEXT,
    // through keyPressEvent.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(!button->isCheckable());

    // Q1_GotFocus: the question text is read-only in effect.
    new FocusRedirect(*ui().Q1, *ui().NextButton);
    // The resizer lays the gauge's cover out at its design height; lay it
    // out again for the score.
    connect(new ProportionalResizer(*this), &ProportionalResizer::resized, this, &quest::lay_gauge);

    connect(ui().NextButton, &QPushButton::clicked, this, &quest::NextButton_Click);
    connect(ui().quitquiz, &QPushButton::clicked, this, &quest::quitquiz_Click);
    connect(ui().cluebutton, &QPushButton::clicked, this, &quest::cluebutton_Click);
    for (int m = 1; m <= 3; ++m) {
        connect(diagrambutton[size_t(m)], &QPushButton::clicked, this, [this, m] { diagrambutton_Click(m); });
        connect(exhibitbutton[size_t(m)], &QPushButton::clicked, this, [this, m] { exhibitbutton_Click(m); });
    }
}

quest::~quest() = default;

void quest::Form_Load()
{
    clear_the_boxes();
    ui().the_gauge->hide();
}

void quest::Form_Unload()
{
    program_.windows.unload<pick_a_quiz>();
    // A diagram or exhibit of this quiz must not outlive it.
    program_.windows.unload<Diagram>();
    program_.windows.unload<Exhibit>();
}

bool quest::Form_QueryUnload()
{
    // Closing the window mid-quiz quits the test, with its report, rather
    // than losing it.
    const QuizState &state = program_.state;
    if (!isVisible() || state.current_question < 1 || state.current_question > state.questions_per_quiz)
        return true;
    quitquiz_Click();
    return false;
}

void quest::clear_the_boxes()
{
    for (size_t p = 1; p <= 6; ++p) {
        QChoice[p]->setChecked(false);
        abox[p]->clear();
    }
    ui().Q1->clear();
    for (QLabel *label : {ui().Directions, ui().qid, ui().score, ui().question_number, ui().Percent_Right})
        label->clear();
}

void quest::show_quest()
{
    QuizState &state = program_.state;
    program_.random.reseed_from_clock();
    ui().NextButton->setFocus();

    ++state.current_question;
    if (state.current_question > state.questions_per_quiz) {
        end_the_test();
        return;
    }
    state.question_id = state.quiz_questions.at(size_t(state.question_order.at(size_t(state.current_question))));
    shown_at_ = program_.clock();
    ui().qid->setText(QString::number(state.question_id));
    ui().question_number->setText(QString::number(state.current_question));

    const PresentedQuestion shown = present_question(program_.bank.at(state.question_id),
                                                     state.random_answer_order == 1, program_.random);
    state.answer_count = shown.answer_count;
    state.current_record = shown.record;
    lay_out_question();
}

void quest::lay_out_question()
{
    const question_record &record = program_.state.current_record;
    ui().Q1->setPlainText(record.question);
    ui().cluebutton->setVisible(!record.clue.trimmed().isEmpty());
    abox[1]->setFrameShape(QFrame::NoFrame);
    ui().typestuff->hide();

    if (is_typed_question(record)) {
        for (size_t p = 1; p <= 6; ++p) {
            abox[p]->hide();
            QChoice[p]->hide();
        }
        abox[1]->setFrameShape(QFrame::StyledPanel);
        abox[1]->setReadOnly(false);
        ui().typestuff->show();
        abox[1]->clear();
        abox[1]->show();
        ui().Directions->setText(QStringLiteral(" Please Type in the Correct Answer"));
        abox[1]->setFocus();
    } else {
        ui().Directions->setText(QStringLiteral(" Please Select the correct answer(s)"));
        abox[1]->setReadOnly(true);
        for (size_t p = 1; p <= 6; ++p) {
            QChoice[p]->setChecked(false);
            abox[p]->setPlainText(record.answers[p]);
            const bool offered = !record.answers[p].trimmed().isEmpty();
            abox[p]->setVisible(offered);
            QChoice[p]->setVisible(offered);
        }
    }
    for (size_t m = 1; m <= 3; ++m) {
        diagrambutton[m]->setVisible(!record.diagrams[m].trimmed().isEmpty());
        exhibitbutton[m]->setVisible(!record.exhibits[m].trimmed().isEmpty());
    }
    ui().NextButton->setFocus();
}

std::array<bool, 7> quest::visible_choices() const
{
    std::array<bool, 7> visible{};
    for (size_t p = 1; p <= 6; ++p)
        visible[p] = !QChoice[p]->isHidden();
    return visible;
}

void quest::NextButton_Click()
{
    program_.windows.unload<Diagram>();
    program_.windows.unload<Exhibit>();
    ui().NextButton->setFocus();
    if (exam_) {
        exam_->next();
        return;
    }
    check_answer();
    show_quest();
}

LoggedAnswer quest::answer_on_screen() const
{
    LoggedAnswer answer;
    answer.bank_index = program_.state.question_id;
    answer.shown = program_.state.current_record;
    answer.milliseconds = program_.clock() - shown_at_;
    if (answer.typed_question()) {
        answer.typed = abox[1]->toPlainText();
    } else {
        answer.choice.visible = visible_choices();
        for (size_t p = 1; p <= 6; ++p)
            answer.choice.pressed[p] = QChoice[p]->isChecked();
    }
    return answer;
}

void quest::check_answer()
{
    QuizState &state = program_.state;
    LoggedAnswer answer = answer_on_screen();
    mark(answer);
    const bool right = answer.right;
    program_.answers.add(std::move(answer));
    state.answer_result = right ? QuizState::answer_right : QuizState::answer_wrong;
    if (right) {
        if (state.show_when_right == 1)
            show_answer();
        ++state.number_right;
    } else if (state.show_when_wrong == 1) {
        show_answer();
    }
    update_score();
}

void quest::update_score()
{
    const QuizState &state = program_.state;
    ui().score->setText(score_text(state.number_right, state.current_question));
    ui().Percent_Right->setText(percent_text(state.number_right, state.current_question));
    marked_ = state.current_question;
    lay_gauge();
}

void quest::lay_gauge()
{
    if (marked_ == 0)
        return;  // nothing marked yet: the gauge stays as loaded
    const GaugeCover cover = gauge_cover(program_.state.number_right, marked_, ui().Gauge1->height());
    const QRect bar = ui().Gauge1->geometry();
    ui().the_gauge->setGeometry(bar.x(), bar.y(), bar.width(), cover.height);
    ui().the_gauge->setVisible(cover.visible);
}

void quest::show_answer()
{
    const QuizState &state = program_.state;
    auto &answer_window = program_.windows.get<theanswer>();
    answer_window.ui().Text1->setPlainText(
        feedback_text(state.current_record, state.answer_result == QuizState::answer_right, visible_choices()));
    center_window(answer_window);
    program_.modal.exec(answer_window);
    program_.windows.unload<theanswer>();
    ui().NextButton->setFocus();
}

void quest::end_the_test()
{
    QuizState &state = program_.state;
    --state.current_question;
    save_last_quiz(program_, this);
    const ResultChoice choice = program_.modal.result(this, report_title,
                                                      report_text(state.number_right, state.current_question),
                                                      program_.answers.missed_count());
    if (choice == ResultChoice::retry_missed && program_.answers.missed_count() > 0) {
        start_quiz_of(program_.answers.missed_questions());
        return;
    }
    if (choice == ResultChoice::review) {
        open_review(program_);
        return;
    }
    // Loading the welcome window afresh refills the bank and unloads this
    // window; it is deleted once this handler has returned.
    program_.windows.get<Welcome>().show();
    hide();
}

void quest::start_quiz_of(std::vector<qint16> bank_questions)
{
    QuizState &state = program_.state;
    // An exam of fewer questions gets its share of the time.
    const int asked = std::max<int>(state.questions_per_quiz, 1), now_asked = int(bank_questions.size()) - 1;
    state.exam_minutes = qint16(std::max(1, (state.exam_minutes * now_asked + asked - 1) / asked));
    set_quiz_questions(state, std::move(bank_questions));
    build_question_order(state, program_.random);
    state.question_id = 0;
    state.current_question = 0;
    state.number_right = 0;
    program_.answers.clear();
    // A diagram or exhibit of the quiz just ended must not outlive it.
    program_.windows.unload<Diagram>();
    program_.windows.unload<Exhibit>();
    clear_the_boxes();
    marked_ = 0;
    ui().the_gauge->hide();
    show_first_question();
}

ExamController *quest::exam() const
{
    return exam_;
}

void quest::show_first_question()
{
    if (exam_)
        exam_->deleteLater();  // the exam just submitted may still be on the stack
    exam_ = nullptr;
    // A quiz without questions ends at once, exam or not.
    if (program_.state.exam_mode == 1 && program_.state.questions_per_quiz > 0)
        exam_ = new ExamController(*this, program_);
    else
        show_quest();
}

void quest::quitquiz_Click()
{
    if (exam_) {
        exam_->ask_to_submit();
        return;
    }
    program_.state.current_question = program_.state.questions_per_quiz;
    show_quest();
}

void quest::cluebutton_Click()
{
    program_.modal.message(this, QStringLiteral("Clue"), program_.state.current_record.clue);
}

void quest::diagrambutton_Click(int m)
{
    const QString name = program_.state.current_record.diagrams.at(size_t(m));
    const QImage image = read_diagram(name, program_.bank.files);
    if (image.isNull())
        return;
    auto &diagram = program_.windows.get<Diagram>();
    diagram.show();
    diagram.raise();
    diagram.activateWindow();
    diagram.show_picture(image);
}

void quest::exhibitbutton_Click(int m)
{
    const std::optional<QString> text =
        read_exhibit(program_.state.current_record.exhibits.at(size_t(m)), program_.bank.files.folder);
    if (!text)
        return;
    auto &exhibit = program_.windows.get<Exhibit>();
    exhibit.show();
    exhibit.raise();
    exhibit.activateWindow();
    center_window(exhibit);
    exhibit.show_text(*text);
}

void quest::keyPressEvent(QKeyEvent *event)
{
    const bool typed = is_typed_question(program_.state.current_record);
    if (typed && !abox[1]->isHidden() && focusWidget() != abox[1] && !event->text().isEmpty()
        && event->modifiers() == Qt::NoModifier) {
        // Every key of a typed question belongs to the answer box. A key the
        // box leaves unused comes back up here, with the box in focus, and
        // goes no further.
        abox[1]->setFocus();
        QCoreApplication::sendEvent(abox[1], event);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ui().NextButton->click();
        return;
    }
    if (!typed && event->key() >= Qt::Key_A && event->key() <= Qt::Key_F && !(event->modifiers() & ~Qt::ShiftModifier)) {
        QPushButton *choice = QChoice[size_t(event->key() - Qt::Key_A + 1)];
        if (!choice->isHidden())
            choice->toggle();
        return;
    }
    QWidget::keyPressEvent(event);
}
