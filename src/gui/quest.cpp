#include "gui/quest.h"

#include "bank/question_bank.h"
#include "flow/quiz_session.h"
#include "gui/accessible_window.h"
#include "gui/answer_rows.h"
#include "gui/colour_contrast.h"
#include "gui/long_answer_list.h"
#include "gui/matching_panel.h"
#include "gui/modal_seam.h"
#include "gui/pictures.h"
#include "gui/proportional_resizer.h"
#include "gui/window_services.h"
#include "quiz/marking.h"
#include "ui_quest.h"

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <utility>

namespace {

// A key that types text: no Ctrl, Alt or Meta, and not one of the keys that
// move the focus or press the focused button.
bool types_text(const QKeyEvent &key)
{
    if (key.text().isEmpty() || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    switch (key.key()) {
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Escape:
        return false;
    default:
        return true;
    }
}

// How many answers the question asks for ("Choose two", "(Choose 2)"), or 0.
int answers_to_choose(const QString &question)
{
    static const QRegularExpression choose(QStringLiteral("\\bchoose\\s+(\\w+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString word = choose.match(question).captured(1).toLower();
    bool is_number = false;
    const int number = word.toInt(&is_number);
    if (is_number)
        return number;
    static const QStringList words = {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"),
                                      QStringLiteral("four"), QStringLiteral("five"), QStringLiteral("six")};
    return int(words.indexOf(word)) + 1;
}

QString letter_of(size_t p)
{
    return QString(QChar(char16_t(u'A' + p - 1)));
}

} // namespace

quest::quest(WindowServices &services) : session_(services.session), bank_(services.bank), modal_(services.modal)
{
    ui().Image1->setPixmap(picture(Picture::strip));
    own_boxes_ = {nullptr, ui().abox_1, ui().abox_2, ui().abox_3, ui().abox_4, ui().abox_5, ui().abox_6};
    own_letters_ = {nullptr, ui().QChoice_1, ui().QChoice_2, ui().QChoice_3,
                    ui().QChoice_4, ui().QChoice_5, ui().QChoice_6};
    const QRect rows_area(ui().QChoice_1->geometry().topLeft(), ui().abox_6->geometry().bottomRight());
    long_list_ = new LongAnswerList(*this, rows_area);
    matching_panel_ = new MatchingPanel(*this, rows_area);
    // A lab question's directions are a button in the directions' place,
    // so that a lab window the student closed can be had again.
    lab_button_ = new QPushButton(QStringLiteral("Please Do the Task in the &Lab Window"), this);
    lab_button_->setObjectName(QStringLiteral("labbutton"));
    lab_button_->setGeometry(ui().Directions->geometry());
    lab_button_->setFont(ui().Directions->font());
    lab_button_->setToolTip(tr("Bring the lab window forward (Alt+L)"));
    lab_button_->hide();
    connect(lab_button_, &QPushButton::clicked, this, &quest::labRequested);
    use_rows(false);
    QWidget *before = ui().QChoice_6;  // in the Tab order, where the window's own rows are
    for (size_t p = 1; p <= max_answers; ++p)
        setTabOrder(std::exchange(before, long_list_->letters()[p]), before);
    diagrambutton = {nullptr, ui().diagrambutton_1, ui().diagrambutton_2, ui().diagrambutton_3};
    exhibitbutton = {nullptr, ui().exhibitbutton_1, ui().exhibitbutton_2, ui().exhibitbutton_3};

    for (const auto &letters : {own_letters_, long_list_->letters()}) {
        for (size_t p = 1; p <= max_answers && letters[p]; ++p) {
            letters[p]->setAccessibleName(tr("Answer %1").arg(letter_of(p)));
            letters[p]->setToolTip(tr("Choose answer %1 (key %1)").arg(letter_of(p)));
        }
    }
    // Each value label tells a screen reader what it counts, in its name.
    ui().Label2->setBuddy(ui().score);
    ui().Label3->setBuddy(ui().question_number);
    ui().Label4->setBuddy(ui().qid);
    ui().exam_time_caption->setBuddy(ui().exam_time_left);
    // The exam's warnings are said as they appear, wherever the focus is.
    mark_as_notice(*ui().exam_warning);
    mark_as_gauge(*ui().Gauge1);
    ui().Gauge1->setAccessibleName(tr("Percent right"));
    ui().NextButton->setToolTip(tr("Mark this answer and go on (Enter or Alt+N)"));
    new AnswerRows(*this, own_boxes_, own_letters_, *ui().NextButton);
    new AnswerRows(*this, long_list_->boxes(), long_list_->letters(), *ui().NextButton);
    // Enter presses the command button that has the focus (as in every
    // window); elsewhere (an answer letter, which toggles, or the question)
    // it presses NEXT, through keyPressEvent. On a typed question every key
    // typed goes to the answer box.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->installEventFilter(this);
    ui().exam_flag->installEventFilter(this);

    // Q1_GotFocus: the question text is read-only in effect (for a screen
    // reader's user it stays, to be read line by line).
    new SightedFocusRedirect(*ui().Q1, *ui().NextButton);
    // The resizer lays the gauge's cover out at its design height; lay it
    // out again for the score.
    connect(new ProportionalResizer(*this), &ProportionalResizer::resized, this, &quest::lay_gauge);

    connect(ui().NextButton, &QPushButton::clicked, this, &quest::NextButton_Click);
    connect(ui().quitquiz, &QPushButton::clicked, this, &quest::quitquiz_Click);
    connect(ui().cluebutton, &QPushButton::clicked, this, &quest::cluebutton_Click);
    for (int m = 1; m <= 3; ++m) {
        connect(diagrambutton[size_t(m)], &QPushButton::clicked, this, [this, m] { diagrambutton_Click(m); });
        connect(exhibitbutton[size_t(m)], &QPushButton::clicked, this, [this, m] { exhibitbutton_Click(m); });
        // A click leaves the focus where it was in the question, so that it
        // is still there when the diagram or exhibit closes.
        diagrambutton[size_t(m)]->setFocusPolicy(Qt::TabFocus);
        exhibitbutton[size_t(m)]->setFocusPolicy(Qt::TabFocus);
    }

    connect(ui().exam_back, &QPushButton::clicked, this, [this] { session_.back(answer_on_screen()); });
    connect(ui().exam_submit, &QPushButton::clicked, this,
            [this] { session_.request_summary(answer_on_screen()); });
    // Flag belongs to the question on screen when it was pressed: Alt+F
    // completes its click a moment later, maybe on the next question.
    connect(ui().exam_flag, &QCheckBox::pressed, this,
            [this] { flag_position_ = session_.state().current_question - 1; });
    // On its state, however it changes (a click, Alt+F, a screen reader's
    // toggle action); the window's own setting blocks the signal.
    connect(ui().exam_flag, &QCheckBox::toggled, this, [this](bool on) {
        const int on_screen = session_.state().current_question - 1;
        session_.set_flagged(flag_position_ < 0 ? on_screen : flag_position_, on);
        flag_position_ = -1;
        show_flag(session_.flagged(on_screen));
    });

    connect(&session_, &QuizSession::questionShown, this, &quest::show_question);
    connect(&session_, &QuizSession::answerMarked, this, [this](bool right, bool show_answer) {
        update_score();
        // Without the answer window the verdict is said with the next question.
        if (!show_answer)
            verdict_ = right ? tr("Correct.") : tr("Incorrect.");
    });
    connect(&session_, &QuizSession::timeLeftChanged, this, &quest::show_time_left);
    connect(&session_, &QuizSession::examWarning, this, [this](ExamSession::Warning w) { show_warning(int(w)); });
    // Told as the clock reaches 0 (show_time_left), before the session's
    // time-up ends the exam; here only if the exam is still on.
    connect(&session_, &QuizSession::timeUp, this, [this] {
        if (session_.exam())
            show_time_up();
    });
}

quest::~quest() = default;

void quest::Form_Load()
{
    clear_the_boxes();
    ui().the_gauge->hide();
}

void quest::Form_Unload() {}

bool quest::Form_QueryUnload()
{
    // Closing the window mid-quiz quits the test, with its report, rather
    // than losing it.
    if (!isVisible() || !session_.in_progress())
        return true;
    quitquiz_Click();
    return false;
}

void quest::clear_the_boxes()
{
    for (size_t p = 1; p <= max_answers; ++p) {
        QChoice[p]->setChecked(false);
        abox[p]->clear();
    }
    ui().Q1->clear();
    for (QLabel *label : {ui().Directions, ui().qid, ui().score, ui().question_number, ui().Percent_Right})
        label->clear();
}

void quest::show_question()
{
    const QuizState &state = session_.state();
    const bool exam = session_.exam() != nullptr;
    if (state.current_question == 1 && session_.answers().asked() == 0 && !exam)
        reset_score();  // a new quiz in this window
    set_exam_layout(exam);
    ui().qid->setText(QString::number(state.question_id));
    ui().qid->setAccessibleName(tr("QID %1").arg(state.question_id));
    ui().question_number->setText(QString::number(state.current_question));
    ui().question_number->setAccessibleName(tr("Question %1").arg(state.current_question));
    // The caption stays; a screen reader names the window by where the
    // student is (it speaks the change). It starts as the caption does.
    setAccessibleName(tr("%1 - Question %2 of %3 - %4")
                          .arg(windowTitle().section(QStringLiteral(" - "), 0, 0))
                          .arg(state.current_question)
                          .arg(state.questions_per_quiz)
                          .arg(bank_.test_title));
    lay_out_question();
    if (exam)
        show_kept_answer();
}

void quest::use_rows(bool long_list)
{
    abox = own_boxes_;
    QChoice = own_letters_;
    // Past F the long list's rows, hidden with it.
    for (size_t p = long_list ? 1 : 7; p <= max_answers; ++p) {
        abox[p] = long_list_->boxes()[p];
        QChoice[p] = long_list_->letters()[p];
    }
    if (!long_list) {
        long_list_->hide();
        return;
    }
    for (size_t p = 1; p <= 6; ++p) {
        own_boxes_[p]->hide();
        own_letters_[p]->hide();
    }
    long_list_->show_like(*ui().QChoice_1, *ui().abox_1);
}

void quest::lay_out_question()
{
    const question_record &record = session_.state().current_record;
    const bool typed = is_typed_question(record);
    const bool matching = is_matching_question(record);
    const bool lab = is_lab_question(record);
    lab_button_->setVisible(lab);
    ui().Directions->setVisible(!lab);
    use_rows(!typed && !matching && !record.answers[7].trimmed().isEmpty());
    if (record.question_html.isEmpty()) {
        ui().Q1->setPlainText(record.question);
    } else {
        // Bold, italic and the like, and nothing else: the text was reduced
        // to those tags when the bank was read.
        ui().Q1->clear();
        ui().Q1->appendHtml(record.question_html);
    }
    ui().cluebutton->setVisible(!record.clue.trimmed().isEmpty());
    abox[1]->setFrameShape(QFrame::NoFrame);
    ui().typestuff->hide();
    if (typed || matching) {
        for (size_t p = 1; p <= max_answers; ++p) {
            abox[p]->hide();
            QChoice[p]->hide();
        }
    }
    if (!matching)
        matching_panel_->hide();

    if (matching) {
        matching_panel_->show_question(record, ui().abox_1->font());
        ui().Directions->setText(QStringLiteral(" Please Match Each Item"));
    } else if (typed) {
        abox[1]->setFrameShape(QFrame::StyledPanel);
        abox[1]->setReadOnly(false);
        abox[1]->setAccessibleName(tr("Type the answer"));
        abox[1]->setFocusPolicy(Qt::StrongFocus);
        ui().typestuff->show();
        abox[1]->show();
        ui().Directions->setText(QStringLiteral(" Please Type in the Correct Answer"));
    } else {
        ui().Directions->setText(QStringLiteral(" Please Select the correct answer(s)"));
        abox[1]->setReadOnly(true);
        abox[1]->setAccessibleName(QString());
        abox[1]->setFocusPolicy(Qt::ClickFocus);
        for (size_t p = 1; p <= max_answers; ++p) {
            QChoice[p]->setChecked(false);
            abox[p]->setPlainText(record.answers[p]);
            // The letter is the answer for a screen reader: its name is its text.
            QChoice[p]->setAccessibleName(
                tr("%1: %2").arg(letter_of(p), record.answers[p].simplified()));
            QChoice[p]->setAccessibleDescription(tr("Key %1").arg(letter_of(p)));
            const bool offered = !record.answers[p].trimmed().isEmpty();
            abox[p]->setVisible(offered);
            QChoice[p]->setVisible(offered);
        }
    }
    for (size_t m = 1; m <= 3; ++m) {
        diagrambutton[m]->setVisible(!record.diagrams[m].trimmed().isEmpty());
        exhibitbutton[m]->setVisible(!record.exhibits[m].trimmed().isEmpty());
    }
    ui().Q1->setAccessibleName(tr("Question %1").arg(session_.state().current_question));
    // Said as the control that takes the focus is focused, or, when it has
    // it already, as its description changes.
    QWidget *focus = typed ? static_cast<QWidget *>(abox[1]) : ui().NextButton;
    if (matching && matching_panel_->first_list())
        focus = matching_panel_->first_list();
    for (QWidget *other : {static_cast<QWidget *>(ui().NextButton), static_cast<QWidget *>(abox[1])}) {
        if (other != focus)
            other->setAccessibleDescription(QString());
    }
    focus->setAccessibleDescription(question_news(record, typed));
    verdict_.clear();
    // A typed answer is typed at once; a choice is made with the letters,
    // and Enter presses NEXT.
    focus->setFocus();
    // Emptied once it has the focus: a screen reader that heard of the
    // caret moving in it first would take it for the focus, silently.
    if (typed)
        abox[1]->clear();
}

QString quest::question_news(const question_record &record, bool typed) const
{
    QStringList news;
    if (!verdict_.isEmpty())
        news << verdict_;
    news << tr("Question %1 of %2.").arg(session_.state().current_question).arg(session_.state().questions_per_quiz)
         << record.question.simplified();
    const int to_choose = typed || is_matching_question(record) ? 0 : answers_to_choose(record.question);
    if (typed)
        news << tr("Type the answer.");
    else if (is_matching_question(record))
        news << tr("Choose a meaning for each of %1 items.").arg(matching_stems(record));
    else if (to_choose > 0)
        news << (to_choose == 1 ? tr("Choose 1 answer.") : tr("Choose %1 answers.").arg(to_choose));
    return news.join(QLatin1Char(' '));
}

void quest::show_notice(const QString &notice)
{
    // The notice keeps to one line in the exam's narrow column when a
    // slightly smaller font lets it ("Time is up"); else it wraps at the
    // design size ("5 minutes / left").
    QLabel &label = *ui().exam_warning;
    if (!notice_font_)
        notice_font_ = label.font();
    QFont font = *notice_font_;
    const int width = label.contentsRect().width();
    for (qreal size = font.pointSizeF(); size >= 7.0; size -= 0.5) {  // none when sized in pixels
        font.setPointSizeF(size);
        if (QFontMetrics(font).horizontalAdvance(notice) <= width)
            break;
    }
    label.setFont(QFontMetrics(font).horizontalAdvance(notice) <= width ? font : *notice_font_);
    label.setText(notice);
    announce(label);
}

void quest::show_flag(bool flagged)
{
    const QSignalBlocker quiet(ui().exam_flag);
    ui().exam_flag->setChecked(flagged);
}

void quest::show_kept_answer()
{
    const LoggedAnswer *kept = session_.kept_answer();
    if (!kept)
        return;
    if (kept->typed_question()) {
        abox[1]->setPlainText(kept->typed);
        abox[1]->moveCursor(QTextCursor::End);
    } else if (kept->matching_question()) {
        matching_panel_->set_matched(kept->matched);
    } else {
        for (size_t n = 1; n <= max_answers; ++n)
            QChoice[n]->setChecked(kept->choice.pressed[n]);
    }
    const int position = session_.state().current_question - 1;
    show_flag(session_.flagged(position));
    ui().exam_back->setEnabled(position > 0);
}

void quest::set_exam_layout(bool exam)
{
    if (exam == exam_layout_)
        return;
    exam_layout_ = exam;
    // The score stays hidden until the end: the exam's controls take its place.
    for (QWidget *widget : {static_cast<QWidget *>(ui().Gauge1), static_cast<QWidget *>(ui().Percent_Right),
                            static_cast<QWidget *>(ui().score), static_cast<QWidget *>(ui().Label2),
                            static_cast<QWidget *>(ui().Line1), static_cast<QWidget *>(ui().Line2)})
        widget->setVisible(!exam);
    if (exam)
        ui().the_gauge->hide();
    for (QWidget *widget : {static_cast<QWidget *>(ui().exam_time_caption), static_cast<QWidget *>(ui().exam_time_left),
                            static_cast<QWidget *>(ui().exam_warning), static_cast<QWidget *>(ui().exam_flag),
                            static_cast<QWidget *>(ui().exam_back), static_cast<QWidget *>(ui().exam_submit)})
        widget->setVisible(exam);
    ui().exam_warning->clear();
    ui().exam_time_left->setAutoFillBackground(false);
    ui().exam_time_left->setBackgroundRole(QPalette::Window);
    ui().exam_time_left->setForegroundRole(QPalette::WindowText);
    ui().exam_time_left->setPalette(palette());
}

void quest::show_time_left(qint64 milliseconds)
{
    ui().exam_time_left->setText(time_left_text(milliseconds));
    ui().exam_time_left->setAccessibleName(tr("Time left %1").arg(ui().exam_time_left->text()));
    if (milliseconds > 0 && time_up_told_) {  // a new exam in this window
        time_up_told_ = false;
        ui().exam_warning->clear();
    }
    // Said here, before the session's time-up: the result box follows it
    // at once.
    if (milliseconds <= 0 && session_.exam())
        show_time_up();
}

void quest::show_time_up()
{
    if (time_up_told_)
        return;
    time_up_told_ = true;
    show_notice(tr("Time is up"));
}

void quest::show_warning(int warning)
{
    if (time_up_told_)
        return;  // the clock jumped past a warning to the end
    show_notice(ExamSession::Warning(warning) == ExamSession::Warning::five_minutes ? tr("5 minutes left")
                                                                                   : tr("1 minute left"));
    // Highlighted in the palette's colours, so it shows in any theme, the
    // highlight darkened or lightened until its text reads at 4.5:1.
    QPalette highlighted = palette();
    highlighted.setColor(QPalette::Highlight, with_contrast(highlighted.color(QPalette::Highlight),
                                                            highlighted.color(QPalette::HighlightedText), 4.5));
    ui().exam_time_left->setPalette(highlighted);
    ui().exam_time_left->setAutoFillBackground(true);
    ui().exam_time_left->setBackgroundRole(QPalette::Highlight);
    ui().exam_time_left->setForegroundRole(QPalette::HighlightedText);
}

void quest::NextButton_Click()
{
    // The question just answered is not said again as NEXT takes the focus.
    ui().NextButton->setAccessibleDescription(QString());
    ui().NextButton->setFocus();
    session_.next(answer_on_screen());
}

StudentAnswer quest::answer_on_screen() const
{
    StudentAnswer answer;
    if (is_lab_question(session_.state().current_record)) {
        answer.lab = lab_outcome_;
        return answer;
    }
    if (is_typed_question(session_.state().current_record)) {
        answer.typed = abox[1]->toPlainText();
        return answer;
    }
    if (is_matching_question(session_.state().current_record)) {
        answer.matched = matching_panel_->matched();
        return answer;
    }
    for (size_t p = 1; p <= max_answers; ++p) {
        answer.choice.visible[p] = !QChoice[p]->isHidden();
        answer.choice.pressed[p] = QChoice[p]->isChecked();
    }
    return answer;
}

void quest::update_score()
{
    const QuizState &state = session_.state();
    ui().score->setText(score_text(state.number_right, state.current_question));
    ui().score->setAccessibleName(tr("Score: %1 of %2").arg(state.number_right).arg(state.current_question));
    ui().Percent_Right->setText(percent_text(state.number_right, state.current_question));
    ui().Percent_Right->setAccessibleName(tr("Percent right: %1").arg(ui().Percent_Right->text()));
    set_gauge_value(*ui().Gauge1, percent_right(state.number_right, state.current_question));
    marked_ = state.current_question;
    lay_gauge();
}

void quest::reset_score()
{
    for (QLabel *label : {ui().score, ui().Percent_Right}) {
        label->clear();
        label->setAccessibleName(QString());
    }
    set_gauge_value(*ui().Gauge1, 0);
    marked_ = 0;
    ui().the_gauge->hide();
}

void quest::lay_gauge()
{
    if (marked_ == 0)
        return;  // nothing marked yet: the gauge stays as loaded
    const GaugeCover cover = gauge_cover(session_.state().number_right, marked_, ui().Gauge1->height());
    const QRect bar = ui().Gauge1->geometry();
    ui().the_gauge->setGeometry(bar.x(), bar.y(), bar.width(), cover.height);
    ui().the_gauge->setVisible(cover.visible);
}

void quest::quitquiz_Click()
{
    if (session_.exam()) {
        session_.keep(answer_on_screen());
        emit submitRequested();
    } else {
        session_.quit();
    }
}

void quest::cluebutton_Click()
{
    modal_.message(this, QStringLiteral("Clue"), session_.state().current_record.clue);
}

void quest::diagrambutton_Click(int m)
{
    const question_record &record = session_.state().current_record;
    emit diagramRequested(record.diagrams.at(size_t(m)), record.diagram_descriptions.at(size_t(m)));
}

void quest::exhibitbutton_Click(int m)
{
    emit exhibitRequested(session_.state().current_record.exhibits.at(size_t(m)));
}

bool quest::typed_question_on_screen() const
{
    return is_typed_question(session_.state().current_record) && !abox[1]->isHidden();
}

bool quest::eventFilter(QObject *watched, QEvent *event)
{
    // Every key that types text, Shift included, belongs to the answer box
    // of a typed question, wherever the focus is in the window.
    if (event->type() == QEvent::KeyPress && typed_question_on_screen()
        && types_text(static_cast<QKeyEvent &>(*event))) {
        abox[1]->setFocus();
        QCoreApplication::sendEvent(abox[1], event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void quest::keyPressEvent(QKeyEvent *event)
{
    const bool typed = is_typed_question(session_.state().current_record);
    if (typed_question_on_screen() && focusWidget() != abox[1] && types_text(*event)) {
        // A key the box leaves unused comes back up here, with the box in
        // focus, and goes no further.
        abox[1]->setFocus();
        QCoreApplication::sendEvent(abox[1], event);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ui().NextButton->click();
        return;
    }
    if (!typed && event->key() >= Qt::Key_A && event->key() < Qt::Key_A + int(max_answers)
        && !(event->modifiers() & ~Qt::ShiftModifier)) {
        QPushButton *choice = QChoice[size_t(event->key() - Qt::Key_A + 1)];
        if (!choice->isHidden()) {
            choice->toggle();
            // The focus goes to the letter toggled, so that a screen reader
            // says which answer it is and whether it is now chosen.
            choice->setFocus(Qt::ShortcutFocusReason);
        }
        return;
    }
    QWidget::keyPressEvent(event);
}
