// What a screen reader (Orca, through AT-SPI) gets from the windows, checked
// in-process through Qt's accessibility interfaces: names, states, values,
// texts, the Tab chain, and colours that must read at 4.5:1.
#include "harness/quiz_harness.h"

#include "gui/accessible_window.h"
#include "gui/colour_contrast.h"

#include <QAccessible>

namespace {

question_record choice_record(const QString &question, const QStringList &answers, const std::vector<int> &right)
{
    question_record record;
    record.question = question;
    record.question_type = QStringLiteral("MC");
    for (int p = 0; p < answers.size(); ++p) {
        record.answers[size_t(p + 1)] = answers[p];
        record.correct[size_t(p + 1)] = 0;
    }
    for (int p : right)
        record.correct[size_t(p)] = 1;
    return record;
}

question_record typed_record()
{
    question_record record;
    record.question = QStringLiteral("What is the default bridge priority?");
    record.question_type = QStringLiteral("FILL_IN");
    record.answers[1] = QStringLiteral("32768");
    record.correct[1] = 1;
    return record;
}

QAccessibleInterface *accessible(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    if (!face)
        qFatal("no accessible interface for %s", qPrintable(widget->objectName()));
    return face;
}

QString name_of(QWidget *widget)
{
    return accessible(widget)->text(QAccessible::Name);
}

QString description_of(QWidget *widget)
{
    return accessible(widget)->text(QAccessible::Description);
}

// A quiz under way with this record on screen in place of its question.
quest &on_screen(QuizHarness &h, const question_record &record)
{
    h.start_program();
    h.start_quiz(1, false, false, false, false);
    return h.show_only(record);
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private:
    qint64 now_ = 0;

    // Quiz 1 in bank order as an exam, on the test's clock.
    quest &start_exam(QuizHarness &h)
    {
        h.program.clock = [this] { return now_; };
        h.start_program();
        QWidget &ui = h.agree();
        ctl<QCheckBox>(ui, "random_questions")->setChecked(false);
        ctl<QCheckBox>(ui, "random_answers")->setChecked(false);
        ctl<QCheckBox>(ui, "exam_mode")->setChecked(true);
        QTest::mouseClick(ctl<QPushButton>(ui, "Command1"), Qt::LeftButton);
        QuizHarness::settle();
        return h.program.windows.get<quest>();
    }

private slots:
    void cleanup()
    {
        SightedFocusRedirect::screen_reader_running = &QAccessible::isActive;
    }

    // -- the question window and the answer window -------------------------

    void question_answers_are_named_with_their_text_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("two") << QStringList{QStringLiteral("Root port"), QStringLiteral("Designated port")};
        QTest::newRow("four, one on two lines")
            << QStringList{QStringLiteral("Blocking"), QStringLiteral("Listening"),
                           QStringLiteral("Learning"), QStringLiteral("Forwarding\nafter 30 s")};
    }
    void question_answers_are_named_with_their_text()
    {
        QFETCH(QStringList, answers);
        QuizHarness h;
        quest &window = on_screen(h, choice_record(QStringLiteral("Which state?"), answers, {1}));
        for (int p = 0; p < answers.size(); ++p) {
            const QString letter(QChar(char16_t(u'A' + p)));
            QCOMPARE(name_of(ctl<QPushButton>(window, "QChoice_", size_t(p + 1))),
                     letter + QStringLiteral(": ") + answers[p].simplified());
            QCOMPARE(accessible(ctl<QPushButton>(window, "QChoice_", size_t(p + 1)))->role(), QAccessible::CheckBox);
        }
    }

    void question_letter_keys_change_the_checked_state_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("letter");
        QTest::addColumn<bool>("checked");
        QTest::newRow("b once") << QStringLiteral("b") << 2 << true;
        QTest::newRow("b twice") << QStringLiteral("bb") << 2 << false;
        QTest::newRow("C with Shift") << QStringLiteral("C") << 3 << true;
    }
    void question_letter_keys_change_the_checked_state()
    {
        QFETCH(QString, keys);
        QFETCH(int, letter);
        QFETCH(bool, checked);
        QuizHarness h;
        quest &window = on_screen(h, choice_record(QStringLiteral("Which?"),
                                                  {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}, {1}));
        window.show();
        QPushButton *button = ctl<QPushButton>(window, "QChoice_", size_t(letter));
        for (QChar key : keys)
            QTest::keyClick(&window, key.toLatin1(), key.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(accessible(button)->state().checked, checked);
        // The focus is on it, for a screen reader to say it.
        QCOMPARE(window.focusWidget(), button);
    }

    void question_typed_box_is_named_and_in_the_tab_chain_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::newRow("typed question") << true;
        QTest::newRow("choice question") << false;
    }
    void question_typed_box_is_named_and_in_the_tab_chain()
    {
        QFETCH(bool, typed);
        QuizHarness h;
        quest &window = on_screen(h, typed ? typed_record()
                                          : choice_record(QStringLiteral("Which?"), {QStringLiteral("One")}, {1}));
        auto *box = ctl<QPlainTextEdit>(window, "abox_", 1);
        QCOMPARE(name_of(box) == QStringLiteral("Type the answer"), typed);
        bool tab_reaches = false;
        for (QWidget *w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain())
            tab_reaches |= w == box && (w->focusPolicy() & Qt::TabFocus);
        QCOMPARE(tab_reaches, typed);
    }

    void question_labels_are_named_with_their_values_data()
    {
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("score");
        QTest::addColumn<QString>("percent");
        QTest::addColumn<int>("gauge");
        QTest::newRow("1 of 1") << QList<bool>{true} << QStringLiteral("Score: 1 of 1") << QStringLiteral("Percent right: 100%") << 100;
        QTest::newRow("1 of 2") << QList<bool>{false, true} << QStringLiteral("Score: 1 of 2") << QStringLiteral("Percent right: 50%") << 50;
        QTest::newRow("0 of 2") << QList<bool>{false, false} << QStringLiteral("Score: 0 of 2") << QStringLiteral("Percent right: 0%") << 0;
    }
    void question_labels_are_named_with_their_values()
    {
        QFETCH(QList<bool>, answers);
        QFETCH(QString, score);
        QFETCH(QString, percent);
        QFETCH(int, gauge);
        QuizHarness h;
        h.start_program();
        quest &window = h.start_quiz(1, false, false, false, false);
        for (bool right : answers)
            h.answer(window, right);
        QCOMPARE(name_of(ctl<QLabel>(window, "score")), score);
        QCOMPARE(name_of(ctl<QLabel>(window, "Percent_Right")), percent);
        const int shown = int(answers.size()) + 1;
        QCOMPARE(name_of(ctl<QLabel>(window, "question_number")), QStringLiteral("Question %1").arg(shown));
        QCOMPARE(name_of(ctl<QLabel>(window, "qid")),
                 QStringLiteral("QID %1").arg(h.program.session.state().question_id));
        QAccessibleInterface *bar = accessible(ctl<QFrame>(window, "Gauge1"));
        QCOMPARE(bar->role(), QAccessible::ProgressBar);
        QVERIFY(!bar->text(QAccessible::Name).isEmpty());
        QVERIFY(bar->valueInterface());
        QCOMPARE(bar->valueInterface()->currentValue().toInt(), gauge);
        // The window says where the student is; its caption stays.
        QCOMPARE(window.windowTitle(), QStringLiteral("Orvik Tests - www.example.org"));
        QVERIFY2(name_of(&window).contains(QStringLiteral("Question %1 of %2 - %3")
                                               .arg(shown)
                                               .arg(h.program.session.state().questions_per_quiz)
                                               .arg(h.program.bank.test_title)),
                 qPrintable(name_of(&window)));
        QCOMPARE(accessible(&window)->role(), QAccessible::Window);
    }

    void question_news_is_said_on_the_focused_control_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("said");
        QTest::newRow("Choose two") << QStringLiteral("Which two are port roles? Choose two.") << true
                                    << QStringLiteral("Correct. Question 2 of 2. Which two are port roles? Choose two. Choose 2 answers.");
        QTest::newRow("(Choose 3)") << QStringLiteral("Which are states? (Choose 3)") << false
                                    << QStringLiteral("Incorrect. Question 2 of 2. Which are states? (Choose 3) Choose 3 answers.");
        QTest::newRow("one answer") << QStringLiteral("Which is elected first?") << true
                                    << QStringLiteral("Correct. Question 2 of 2. Which is elected first?");
    }
    void question_news_is_said_on_the_focused_control()
    {
        QFETCH(QString, question);
        QFETCH(bool, right);
        QFETCH(QString, said);
        QuizHarness h;
        const question_record record = choice_record(question, {QStringLiteral("Root port"), QStringLiteral("Alternate port"),
                                                               QStringLiteral("Designated port")}, {1, 3});
        h.start_program();
        h.start_quiz(1, false, false, false, false);
        h.program.bank.at(2) = record;
        quest &window = h.show_only(record);
        h.answer(window, right);
        QCOMPARE(h.program.session.state().current_question, 2);
        QCOMPARE(window.focusWidget(), ctl<QPushButton>(window, "NextButton"));
        QCOMPARE(description_of(window.focusWidget()), said);
    }

    void question_text_is_read_where_a_screen_reader_runs_data()
    {
        QTest::addColumn<bool>("reader");
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::addColumn<QString>("focused");
        QTest::newRow("Tab, no screen reader") << false << Qt::TabFocusReason << QStringLiteral("NextButton");
        QTest::newRow("Tab, screen reader") << true << Qt::TabFocusReason << QStringLiteral("Q1");
        QTest::newRow("click, screen reader") << true << Qt::MouseFocusReason << QStringLiteral("NextButton");
    }
    void question_text_is_read_where_a_screen_reader_runs()
    {
        QFETCH(bool, reader);
        QFETCH(Qt::FocusReason, reason);
        QFETCH(QString, focused);
        QuizHarness h;
        const QString question = QStringLiteral("Which port is elected on each non-root bridge?\nChoose one.");
        quest &window = on_screen(h, choice_record(question, {QStringLiteral("Root port")}, {1}));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SightedFocusRedirect::screen_reader_running = [reader] { return reader; };
        auto *text = ctl<QPlainTextEdit>(window, "Q1");
        text->setFocus(reason);
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
        QAccessibleTextInterface *whole = accessible(text)->textInterface();
        QVERIFY(whole);
        QCOMPARE(whole->text(0, whole->characterCount()), question);
        QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByKeyboard);  // a caret for the arrow keys
    }

    void question_countdown_reads_after_the_warning_data()
    {
        QTest::addColumn<QColor>("highlight");
        QTest::addColumn<QColor>("highlighted_text");
        QTest::newRow("light") << QColor(0x30, 0x8c, 0xc6) << QColor(Qt::white);
        QTest::newRow("dark") << QColor(0x2a, 0x82, 0xda) << QColor(Qt::white);
        QTest::newRow("dark, black text") << QColor(0x3d, 0x5a, 0x80) << QColor(Qt::black);
    }
    void question_countdown_reads_after_the_warning()
    {
        QFETCH(QColor, highlight);
        QFETCH(QColor, highlighted_text);
        QuizHarness h;
        quest &window = start_exam(h);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Highlight, highlight);
        palette.setColor(QPalette::HighlightedText, highlighted_text);
        window.setPalette(palette);
        now_ += 46 * 60'000;  // five minutes left
        h.program.session.tick();
        auto *left = ctl<QLabel>(window, "exam_time_left");
        QVERIFY(left->autoFillBackground());
        const QPalette shown = left->palette();
        const double ratio = contrast_ratio(shown.color(left->backgroundRole()), shown.color(left->foregroundRole()));
        QVERIFY2(ratio >= 4.5, qPrintable(QString::number(ratio)));
        QCOMPARE(name_of(left), QStringLiteral("Time left 05:00"));
    }

    // Each warning and "Time is up" is a notice that a screen reader says
    // as it is shown, wherever the focus is ("Time is up" before the result
    // box comes).
    void exam_warnings_are_spoken_data()
    {
        QTest::addColumn<int>("minutes");  // passed, of the exam's 51
        QTest::addColumn<QString>("notice");
        QTest::newRow("five minutes left") << 46 << "5 minutes left";
        QTest::newRow("one minute left") << 50 << "1 minute left";
        QTest::newRow("time is up") << 51 << "Time is up";
    }
    void exam_warnings_are_spoken()
    {
        QFETCH(int, minutes);
        QFETCH(QString, notice);
        QuizHarness h;
        quest &window = start_exam(h);
        auto *warning = ctl<QLabel>(window, "exam_warning");
        QCOMPARE(accessible(warning)->role(), QAccessible::Notification);
        // The result box that follows time-up comes after the notice.
        int announced_before_the_result = -1;
        const auto result = h.program.modal.result;
        h.program.modal.result = [&](QWidget *parent, const QString &title, const QString &text, int missed) {
            announced_before_the_result = times_announced(*warning);
            return result(parent, title, text, missed);
        };
        now_ += minutes * 60'000;
        h.program.session.tick();
        QCOMPARE(warning->text(), notice);
        QCOMPARE(name_of(warning), notice);
        QCOMPARE(times_announced(*warning), 1);
        if (minutes == 51) {
            QCOMPARE(announced_before_the_result, 1);
            // On one line in the exam's narrow column.
            QVERIFY(QFontMetrics(warning->font()).horizontalAdvance(notice) <= warning->contentsRect().width());
        }
    }

    void question_flag_acts_on_its_state_data()
    {
        QTest::addColumn<QList<bool>>("set");
        QTest::addColumn<bool>("flagged");
        QTest::newRow("ticked") << QList<bool>{true} << true;
        QTest::newRow("ticked, unticked") << QList<bool>{true, false} << false;
    }
    void question_flag_acts_on_its_state()
    {
        QFETCH(QList<bool>, set);
        QFETCH(bool, flagged);
        QuizHarness h;
        quest &window = start_exam(h);
        auto *flag = ctl<QCheckBox>(window, "exam_flag");
        for (bool on : set)
            flag->setChecked(on);  // as a screen reader's toggle action does
        QCOMPARE(h.program.session.flagged(0), flagged);
        // The next question shows its own flag, and showing it flags nothing.
        QTest::mouseClick(ctl<QPushButton>(window, "NextButton"), Qt::LeftButton);
        QVERIFY(!flag->isChecked());
        QTest::mouseClick(ctl<QPushButton>(window, "exam_back"), Qt::LeftButton);
        QCOMPARE(flag->isChecked(), flagged);
        QCOMPARE(h.program.session.flagged(0), flagged);
        QVERIFY(!h.program.session.flagged(1));
    }

    void answer_window_says_its_text_as_it_opens_data()
    {
        QTest::addColumn<bool>("right");
        QTest::newRow("wrong") << false;
        QTest::newRow("right") << true;
    }
    void answer_window_says_its_text_as_it_opens()
    {
        QFETCH(bool, right);
        QuizHarness h;
        h.start_program();
        QString close_says;
        h.program.modal.exec = [&](QDialog &dialog) {
            close_says = description_of(dialog.findChild<QPushButton *>(QStringLiteral("Closeb")));
            h.answers.append(dialog.findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->toPlainText());
        };
        quest &window = h.start_quiz(1, false, false, true, true);
        h.answer(window, right);
        QCOMPARE(h.answers.size(), 1);
        QVERIFY(!close_says.isEmpty());
        QCOMPARE(close_says, h.answers.first().simplified());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
