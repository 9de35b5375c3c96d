// The windows driven headless as a student would: start-up, the options,
// whole quizzes through to the report, quitting, and window lifetimes.
#include "harness/quiz_harness.h"

#include "bank/formats/bank_formats.h"
#include "gui/accessible_window.h"
#include "gui/choosetest.h"
#include "harness/matching_sample.h"
#include "gui/results_window.h"
#include "quiz/question_order.h"
#include "quiz/quiz_texts.h"

#include <QSignalSpy>

class WindowFlowTest : public QObject
{
    Q_OBJECT

private slots:
    void start_up_shows_the_welcome_window()
    {
        QuizHarness h;
        Welcome &welcome = h.start_program();
        QVERIFY(welcome.isVisible());
        QVERIFY(is_centred(welcome));
        QVERIFY(!h.program.bank.test_title.isEmpty());
        QCOMPARE(welcome.windowTitle(), h.program.bank.test_title);
        QCOMPARE(ctl<QLineEdit>(welcome, "test_name")->text(), h.program.bank.test_title);
        QCOMPARE(ctl<QLineEdit>(welcome, "author_name2")->text(), h.program.bank.author_email);
        QCOMPARE(h.program.session.state().questions_per_quiz, questions_in_quiz(1, h.program.bank.total_questions));
        QVERIFY(h.program.session.state().questions_per_quiz >= 1);

        // "I Agree" hides the welcome window but keeps it loaded and filled.
        pick_a_quiz &options = h.agree();
        QVERIFY(options.isVisible());
        QVERIFY(is_centred(options));
        QVERIFY(!welcome.isVisible());
        QVERIFY(h.program.windows.is_loaded<Welcome>());
        QCOMPARE(ctl<QLineEdit>(welcome, "test_name")->text(), h.program.bank.test_title);
        // The options start as designed.
        QVERIFY(ctl<QRadioButton>(options, "which_quiz_1")->isChecked());
        QVERIFY(ctl<QCheckBox>(options, "answer_when_wrong")->isChecked());
        QVERIFY(!ctl<QCheckBox>(options, "answer_when_right")->isChecked());
        QVERIFY(ctl<QCheckBox>(options, "random_questions")->isChecked());
        QVERIFY(ctl<QCheckBox>(options, "random_answers")->isChecked());
    }

    void starting_a_quiz_replaces_the_first_windows()
    {
        QuizHarness h;
        QSignalSpy ended(&h.program.windows, &WindowRegistry::lastWindowUnloaded);
        h.start_program();
        QPointer<pick_a_quiz> options = &h.agree();
        QTest::mouseClick(ctl<QPushButton>(*options, "Command1"), Qt::LeftButton);
        QVERIFY(!h.program.windows.is_loaded<Welcome>());
        QVERIFY(!h.program.windows.is_loaded<pick_a_quiz>());
        QVERIFY(!options->isVisible());
        QuizHarness::settle();
        QVERIFY(options.isNull());  // deleted once its handler had returned
        QCOMPARE(h.program.windows.loaded_count(), 1);
        quest &window = h.program.windows.get<quest>();
        QVERIFY(window.isVisible());
        QVERIFY(is_centred(window));
        QCOMPARE(h.program.session.state().current_question, qint16(1));
        QCOMPARE(h.program.session.state().number_right, qint16(0));
        QCOMPARE(ctl<QPlainTextEdit>(window, "Q1")->toPlainText(), h.program.session.state().current_record.question);
        QCOMPARE(ended.count(), 0);
    }

    void options_are_recorded()
    {
        QuizHarness h;
        h.start_program();
        QWidget &ui = h.agree();
        ctl<QRadioButton>(ui, "which_quiz_3")->setChecked(true);
        ctl<QCheckBox>(ui, "answer_when_right")->setChecked(true);
        ctl<QCheckBox>(ui, "answer_when_wrong")->setChecked(false);
        // A grey check box counts as off.
        ctl<QCheckBox>(ui, "random_questions")->setTristate(true);
        ctl<QCheckBox>(ui, "random_questions")->setCheckState(Qt::PartiallyChecked);
        ctl<QCheckBox>(ui, "random_answers")->setChecked(false);
        QTest::mouseClick(ctl<QPushButton>(ui, "Command1"), Qt::LeftButton);
        QuizHarness::settle();

        const QuizState &state = h.program.session.state();
        QCOMPARE(state.selected_quiz, qint16(3));
        QCOMPARE(state.quiz_number, qint16(3));
        QCOMPARE(state.show_when_right, qint16(1));
        QCOMPARE(state.show_when_wrong, qint16(0));
        QCOMPARE(state.random_question_order, qint16(0));
        QCOMPARE(state.random_answer_order, qint16(0));
        for (qint16 i = 1; i <= state.questions_per_quiz; ++i)
            QCOMPARE(state.question_order[size_t(i)], i);
        QCOMPARE(state.question_id, qint16(3));  // quiz 3 in bank order starts at bank question 3
        // Answers in bank order.
        const question_record &bank_record = h.program.bank.at(3);
        quest &window = h.program.windows.get<quest>();
        for (size_t p = 1; p <= 6; ++p) {
            QCOMPARE(ctl<QPlainTextEdit>(window, "abox_", p)->toPlainText(), bank_record.answers[p]);
            QCOMPARE(ctl<QPushButton>(window, "QChoice_", p)->isHidden(), bank_record.answers[p].isEmpty());
            QVERIFY(!ctl<QPushButton>(window, "QChoice_", p)->isChecked());
        }
        QCOMPARE(ctl<QLabel>(window, "qid")->text(), QStringLiteral("3"));
        QCOMPARE(ctl<QLabel>(window, "question_number")->text(), QStringLiteral("1"));
        QCOMPARE(ctl<QLabel>(window, "Directions")->text(), QStringLiteral(" Please Select the correct answer(s)"));
    }

    void whole_quiz_then_another()
    {
        QuizHarness h;
        h.start_program();
        quest *window = &h.start_quiz(1, true, true, true, false);
        const int total = h.program.session.state().questions_per_quiz;
        int right = 0;
        QSet<int> asked;
        for (int n = 1; n <= total; ++n) {
            asked.insert(h.program.session.state().question_id);
            QCOMPARE(h.program.session.state().question_id % 4, 1);
            const bool answer_right = n % 3 != 0;
            h.answer(*window, answer_right);
            right += answer_right;
            QCOMPARE(h.answers.size(), n - right);  // the answer window shows for wrong answers only
            if (n < total) {
                QCOMPARE(ctl<QLabel>(*window, "score")->text(), QStringLiteral("%1/%2").arg(right).arg(n));
                QCOMPARE(ctl<QLabel>(*window, "Percent_Right")->text(), QStringLiteral("%1%").arg(right * 100 / n));
                QCOMPARE(ctl<QFrame>(*window, "the_gauge")->isVisible(), right < n);
            }
        }
        QCOMPARE(asked.size(), total);
        if (!h.answers.isEmpty())
            QVERIFY(h.answers.first().startsWith(QStringLiteral("Incorrect.\nThe correct answer(s): ")));

        QCOMPARE(h.messages.size(), 1);
        QCOMPARE(h.messages.first().title, QStringLiteral("Test Complete!"));
        QVERIFY(h.messages.first().text.contains(QStringLiteral(" Right/Total  = %1/%2\n").arg(right).arg(total)));
        QuizHarness::settle();
        QVERIFY(!h.program.windows.is_loaded<quest>());
        QVERIFY(h.program.windows.get<Welcome>().isVisible());
        QCOMPARE(h.program.windows.loaded_count(), 1);

        // A second quiz starts from zero whatever the first left, and can be quit early.
        window = &h.start_quiz(2, false, false, false, true);
        QCOMPARE(h.program.session.state().current_question, qint16(1));
        QCOMPARE(h.program.session.state().number_right, qint16(0));
        QCOMPARE(h.program.session.state().question_id, qint16(2));
        h.answer(*window, true);
        QCOMPARE(h.answers.size(), (total - right) + 1);  // shown for the right answer this time
        QVERIFY(h.answers.last().startsWith(QStringLiteral("Great Job.\nThe answer(s): ")));
        QTest::mouseClick(ctl<QPushButton>(*window, "quitquiz"), Qt::LeftButton);
        QCOMPARE(h.messages.size(), 2);
        QVERIFY(h.messages.last().text.contains(
            QStringLiteral(" Right/Total  = 1/%1\nPercent Right = %2%").arg(total).arg(100 / total)));
        QuizHarness::settle();
        QVERIFY(h.program.windows.get<Welcome>().isVisible());
        QVERIFY(!h.program.windows.is_loaded<quest>());
    }

    // Enter presses the focused button in every window, not only the default.
    // A lab of the scenario bank asked in a quiz: its window opens beside the
    // question window (closed by the student, the directions bring it back),
    // NEXT marks it on its goals, the answer window lists them and the
    // commands typed, and the lab window closes.
    void a_lab_is_marked_through_the_quiz_data()
    {
        QTest::addColumn<bool>("solve");
        QTest::newRow("solved") << true;
        QTest::newRow("left unsolved") << false;
    }
    void a_lab_is_marked_through_the_quiz()
    {
        QFETCH(bool, solve);
        const ImportedBank scenarios = read_bank_file(QStringLiteral(SCENARIO_BANK));
        const auto lab = std::find_if(scenarios.questions.begin(), scenarios.questions.end(), is_lab_question);
        QVERIFY(lab != scenarios.questions.end());
        QuizHarness h;
        h.start_program();
        h.program.bank.at(1) = *lab;
        quest &window = h.program.windows.get<quest>();
        QuizOptions options;
        options.random_questions = options.random_answers = false;
        options.show_when_right = options.show_when_wrong = true;
        h.program.session.start_with(options, {1});
        const QPointer<LabWindow> lab_window = window.findChild<LabWindow *>();
        QVERIFY(lab_window && lab_window->isVisible());
        QCOMPARE(ctl<QPlainTextEdit>(window, "Q1")->toPlainText(), lab->question);
        lab_window->close();
        QTest::mouseClick(ctl<QPushButton>(window, "labbutton"), Qt::LeftButton);
        QVERIFY(lab_window && lab_window->isVisible());

        h.answer(window, solve);
        h.settle();
        QVERIFY(lab_window.isNull());
        const LoggedAnswer &marked = h.program.session.answers().answers().back();
        QCOMPARE(marked.right, solve);
        QCOMPARE(marked.lab.missed.isEmpty(), solve);
        QCOMPARE(marked.lab.met.size() + marked.lab.missed.size(), lab->lab->goals.size());
        QCOMPARE(marked.lab.commands.isEmpty(), !solve);
        QVERIFY(h.answers.last().startsWith(solve ? "Great Job." : "Incorrect."));
        for (const QString &line : marked.lab.missed + marked.lab.commands)
            QVERIFY2(h.answers.last().contains(line), qPrintable(line));
    }

    // A matching question: each stem's list of meanings, the first with the
    // focus, Enter for NEXT; in an exam the meanings given are shown again
    // on coming back.
    void a_matching_question_is_answered_in_its_lists_data()
    {
        QTest::addColumn<bool>("exam");
        QTest::newRow("practice") << false;
        QTest::newRow("exam") << true;
    }
    void a_matching_question_is_answered_in_its_lists()
    {
        QFETCH(bool, exam);
        const question_record record = port_states_matching();
        QuizHarness h;
        h.start_program();
        h.program.bank.at(1) = h.program.bank.at(2) = record;
        quest &window = h.program.windows.get<quest>();
        QuizOptions options;
        options.random_questions = options.random_answers = false;
        options.show_when_wrong = !exam;
        options.exam_mode = exam;
        options.exam_minutes = 10;
        h.program.session.start_with(options, {1, 2});
        window.show();
        QVERIFY(ctl<QWidget>(window, "matching")->isVisible());
        QVERIFY(!ctl<QPushButton>(window, "QChoice_", 1)->isVisibleTo(&window));
        const QList<QComboBox *> lists = ctl<QWidget>(window, "matching")->findChildren<QComboBox *>();
        QCOMPARE(lists.size(), 4);
        QCOMPARE(window.focusWidget(), lists[0]);
        QCOMPARE(lists[0]->accessibleName(), QStringLiteral("Blocking"));
        QTest::keyClick(lists[0], Qt::Key_Down);  // the first meaning offered: Discarding
        QCOMPARE(times_announced(*ctl<QLabel>(window, "matching_notice")), 1);
        QCOMPARE(lists[0]->accessibleDescription(), QStringLiteral("Discarding"));
        QTest::keyClick(lists[1], Qt::Key_Down);  // Discarding again, right for Listening too
        QTest::keyClick(lists[0], Qt::Key_Return);
        QuizHarness::settle();
        if (exam) {
            QTest::mouseClick(ctl<QPushButton>(window, "exam_back"), Qt::LeftButton);
            QuizHarness::settle();
            const QList<QComboBox *> again = ctl<QWidget>(window, "matching")->findChildren<QComboBox *>();
            QCOMPARE(again[0]->currentText(), QStringLiteral("Discarding"));
            QCOMPARE(again[2]->currentIndex(), 0);
            h.program.session.submit();
        }
        const LoggedAnswer &marked = h.program.session.answers().answers().front();
        QVERIFY(!marked.right && marked.answered);
        QCOMPARE(marked.matched, (MatchingAnswer{0, 0, -1, -1}));
        QCOMPARE(outcome_lines(marked), QStringList{"Partial credit: 50% (2 of 4 pairs right)."});
        if (!exam)
            QVERIFY(h.answers.last().contains(QStringLiteral("Learning  ->  Learning")));
    }

    // A question's formatting shows, its text unchanged.
    void formatted_question_text_is_shown()
    {
        QuizHarness h;
        h.start_program();
        question_record &record = h.program.bank.at(1);
        record.question = QStringLiteral("Is go a verb?");
        record.question_html = QStringLiteral("Is <i>go</i> a verb?");
        QPlainTextEdit *text = ctl<QPlainTextEdit>(h.program.windows.get<quest>(), "Q1");
        h.program.session.start_with(QuizOptions{}, {1});
        QCOMPARE(text->toPlainText(), record.question);
        QTextCursor at(text->document());
        for (const auto &[position, italic] : {std::pair{4, true}, std::pair{6, false}}) {
            at.setPosition(position);
            QCOMPARE(at.charFormat().fontItalic(), italic);
        }
    }

    void enter_presses_the_focused_button()
    {
        QuizHarness h;
        h.start_program();
        QPushButton *results = ctl<QPushButton>(h.agree(), "results_button");
        results->setFocus();
        QTest::keyClick(results, Qt::Key_Return);
        QVERIFY(h.program.windows.is_loaded<ResultsWindow>());
        QPushButton *close = ctl<QPushButton>(h.program.windows.get<ResultsWindow>(), "close_button");
        QTest::keyClick(close, Qt::Key_Return);
        QVERIFY(!h.program.windows.is_loaded<ResultsWindow>());
    }

    void program_ends_when_its_windows_go_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("closing the welcome window unloads the others") << "close welcome";
        QTest::newRow("Exit ends it at once") << "exit";
        QTest::newRow("so does the test chooser's Exit") << "chooser exit";
    }
    void program_ends_when_its_windows_go()
    {
        QFETCH(QString, way);
        QuizHarness h;
        QSignalSpy ended(&h.program.windows, &WindowRegistry::lastWindowUnloaded);
        Welcome &welcome = h.start_program();
        if (way == "close welcome") {
            h.agree();
            welcome.close();
            QVERIFY(!h.program.windows.is_loaded<pick_a_quiz>());
        } else if (way == "exit") {
            QTest::mouseClick(ctl<QPushButton>(welcome, "Command1"), Qt::LeftButton);
        } else {
            QTest::mouseClick(ctl<QPushButton>(h.program.windows.get<choosetest>(), "Command3"), Qt::LeftButton);
        }
        QuizHarness::settle();
        QCOMPARE(h.program.windows.loaded_count(), 0);
        QCOMPARE(ended.count(), 1);
        const QWidgetList left = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(left.begin(), left.end(), [](QWidget *w) { return w->isVisible(); }));
    }

    void closing_a_window_loses_nothing_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("closing the question window mid-quiz quits the test") << "close quest";
        QTest::newRow("closing the options goes back") << "close options";
        QTest::newRow("so does Escape there") << "escape options";
    }
    void closing_a_window_loses_nothing()
    {
        QFETCH(QString, way);
        QuizHarness h;
        QSignalSpy ended(&h.program.windows, &WindowRegistry::lastWindowUnloaded);
        h.start_program();
        if (way == "close quest") {
            quest &window = h.start_quiz(4, true, true, false, false);
            h.answer(window, true);
            window.close();
            QCOMPARE(h.messages.size(), 1);
            QCOMPARE(h.messages.first().title, QStringLiteral("Test Complete!"));
            QVERIFY(h.messages.first().text.contains(QStringLiteral(" Right/Total  = 1/%1").arg(h.program.session.state().questions_per_quiz)));
        } else {
            pick_a_quiz &options = h.agree();
            if (way == "close options")
                options.close();
            else
                QTest::keyClick(ctl<QRadioButton>(options, "which_quiz_2"), Qt::Key_Escape);
            QVERIFY(h.messages.isEmpty());
        }
        QuizHarness::settle();
        QVERIFY(h.program.windows.get<Welcome>().isVisible());
        QVERIFY(!h.program.windows.is_loaded<quest>());
        QVERIFY(!h.program.windows.is_loaded<pick_a_quiz>() || !h.program.windows.get<pick_a_quiz>().isVisible());
        QCOMPARE(ended.count(), 0);
        // And another quiz can start.
        h.start_quiz(1, false, false, false, false);
        QCOMPARE(h.program.session.state().current_question, qint16(1));
    }
};

QTEST_MAIN(WindowFlowTest)
#include "test_window_flow.moc"
