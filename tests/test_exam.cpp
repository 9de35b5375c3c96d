// Exam mode driven through the windows: the options, the question window
// with Back, Flag and the countdown on a clock the test moves, the summary,
// submitting (or running out of time) and the review that follows.
#include "harness/quiz_harness.h"

#include "bank/formats/bank_formats.h"
#include "gui/exam_summary.h"
#include "gui/review_window.h"
#include "quiz/review_text.h"

class ExamTest : public QObject
{
    Q_OBJECT

private:
    qint64 now_ = 0;

    // Quiz 1 in bank order as an exam, on the test's clock.
    quest &start_exam(QuizHarness &h, int minutes = 0)
    {
        h.program.clock = [this] { return now_; };
        h.start_program();
        QWidget &ui = h.agree();
        // Quiz 1 starts with bank question 1: it has a clue in the exam.
        h.program.bank.at(1).clue = QStringLiteral("Think of the FCS.");
        ctl<QCheckBox>(ui, "random_questions")->setChecked(false);
        ctl<QCheckBox>(ui, "random_answers")->setChecked(false);
        ctl<QCheckBox>(ui, "exam_mode")->setChecked(true);
        if (minutes > 0)
            ctl<QSpinBox>(ui, "exam_minutes")->setValue(minutes);
        QTest::mouseClick(ctl<QPushButton>(ui, "Command1"), Qt::LeftButton);
        QuizHarness::settle();
        return h.program.windows.get<quest>();
    }

    // Presses the right choices, or the first wrong one.
    static void choose(QuizHarness &h, quest &window, bool right)
    {
        const question_record &record = h.program.session.state().current_record;
        for (size_t p = 1; p <= 6; ++p) {
            const bool press = right ? record.correct[p] == 1 : record.correct[p] == 0;
            if (!ctl<QPushButton>(window, "QChoice_", p)->isHidden() && ctl<QPushButton>(window, "QChoice_", p)->isChecked() != press)
                QTest::mouseClick(ctl<QPushButton>(window, "QChoice_", p), Qt::LeftButton);
            if (!right && press)
                right = true;  // one wrong choice is enough; press no more
        }
    }

private slots:
    // Two labs of the scenario bank as an exam: the first solved, left and
    // come back to, shows the network as the student left it; at submit it
    // is right, the untouched one unanswered, and the review lists the goals
    // and the commands typed.
    void a_lab_is_kept_while_moving_about()
    {
        const ImportedBank scenarios = read_bank_file(QStringLiteral(SCENARIO_BANK));
        std::vector<question_record> labs;
        std::copy_if(scenarios.questions.begin(), scenarios.questions.end(), std::back_inserter(labs), is_lab_question);
        QVERIFY(labs.size() >= 2);
        QuizHarness h;
        h.program.clock = [this] { return now_; };
        h.start_program();
        h.program.bank.at(1) = labs[0];
        h.program.bank.at(2) = labs[1];
        quest &window = h.program.windows.get<quest>();
        QuizOptions options;
        options.exam_mode = true;
        options.exam_minutes = 30;
        options.random_questions = options.random_answers = false;
        h.program.session.start_with(options, {1, 2});
        h.type_lab_solution(window);
        const QStringList typed = window.findChild<LabWindow *>()->commands_typed();
        now_ += 60'000;
        QTest::mouseClick(ctl<QPushButton>(window, "NextButton"), Qt::LeftButton);
        QuizHarness::settle();
        QTest::mouseClick(ctl<QPushButton>(window, "exam_back"), Qt::LeftButton);
        QuizHarness::settle();
        const QList<LabWindow *> open = window.findChildren<LabWindow *>();
        QCOMPARE(open.size(), 1);
        QCOMPARE(open.first()->commands_typed(), typed);
        QVERIFY(open.first()->all_goals_met());

        h.program.session.submit();
        const std::vector<LoggedAnswer> &marked = h.program.session.answers().answers();
        QCOMPARE(marked.size(), size_t(2));
        QVERIFY(marked[0].right && marked[0].answered);
        QVERIFY(!marked[1].right && !marked[1].answered);
        QCOMPARE(marked[0].milliseconds, 60'000LL);
        const QString review = review_detail_html(1, marked[0]);
        for (const QString &line : marked[0].lab.met + QStringList{typed.first().toHtmlEscaped()})
            QVERIFY2(review.contains(line), qPrintable(line));
        QVERIFY(review_detail_html(2, marked[1]).contains(marked[1].lab.missed.first()));
    }

    void options_default_to_practice()
    {
        QuizHarness h;
        h.start_program();
        QWidget &ui = h.agree();
        QVERIFY(!ctl<QCheckBox>(ui, "exam_mode")->isChecked());
        QCOMPARE(ctl<QSpinBox>(ui, "exam_minutes")->value(), int(h.program.session.state().questions_per_quiz));
        ctl<QCheckBox>(ui, "exam_mode")->setChecked(true);
        QVERIFY(!ctl<QCheckBox>(ui, "answer_when_wrong")->isEnabled() && !ctl<QCheckBox>(ui, "answer_when_right")->isEnabled() && ctl<QSpinBox>(ui, "exam_minutes")->isEnabled());
        ctl<QCheckBox>(ui, "exam_mode")->setChecked(false);
        QVERIFY(ctl<QCheckBox>(ui, "answer_when_wrong")->isEnabled() && ctl<QCheckBox>(ui, "answer_when_right")->isEnabled() && !ctl<QSpinBox>(ui, "exam_minutes")->isEnabled());
    }

    void a_whole_exam()
    {
        QuizHarness h;
        quest &window = start_exam(h);
        QWidget &ui = window;
        const qint16 total = h.program.session.state().questions_per_quiz;
        QVERIFY(h.program.session.exam());
        QVERIFY(ctl<QLabel>(ui, "score")->isHidden() && ctl<QLabel>(ui, "Percent_Right")->isHidden() && ctl<QFrame>(ui, "the_gauge")->isHidden());
        QVERIFY(ctl<QPushButton>(ui, "exam_back")->isVisible() && !ctl<QPushButton>(ui, "exam_back")->isEnabled() && ctl<QCheckBox>(ui, "exam_flag")->isVisible());
        QCOMPARE(ctl<QLabel>(ui, "exam_time_left")->text(), QStringLiteral("%1:00").arg(total));

        // 1 right, and its answer outlives the clue; 2 wrong and flagged; 3
        // right, then back to 2 to mend it.
        choose(h, window, true);
        const std::array<bool, 7> pressed = window.answer_on_screen().choice.pressed;
        QTest::mouseClick(ctl<QPushButton>(ui, "cluebutton"), Qt::LeftButton);
        QCOMPARE(h.messages.last().text, QStringLiteral("Think of the FCS."));
        QCOMPARE(window.answer_on_screen().choice.pressed, pressed);
        QTest::keyClick(&window, Qt::Key_Return);
        choose(h, window, false);
        QTest::mouseClick(ctl<QCheckBox>(ui, "exam_flag"), Qt::LeftButton, {}, QPoint(4, ctl<QCheckBox>(ui, "exam_flag")->height() / 2));
        QTest::mouseClick(ctl<QPushButton>(ui, "NextButton"), Qt::LeftButton);
        QCOMPARE(ctl<QLabel>(ui, "score")->text(), QString());  // nothing marked on the way
        choose(h, window, true);
        ctl<QPushButton>(ui, "exam_back")->setFocus();
        QTest::keyClick(ctl<QPushButton>(ui, "exam_back"), Qt::Key_Return);  // Enter presses the focused Back
        QCOMPARE(h.program.session.state().current_question, qint16(2));
        QVERIFY(ctl<QCheckBox>(ui, "exam_flag")->isChecked());
        choose(h, window, true);
        QTest::mouseClick(ctl<QPushButton>(ui, "NextButton"), Qt::LeftButton);
        const question_record third = h.program.session.state().current_record;
        for (size_t p = 1; p <= 6; ++p)  // the third kept its answer
            QCOMPARE(ctl<QPushButton>(window, "QChoice_", p)->isChecked(), !ctl<QPushButton>(window, "QChoice_", p)->isHidden() && third.correct[p] == 1);
        QTest::mouseClick(ctl<QPushButton>(ui, "NextButton"), Qt::LeftButton);
        QTest::mouseClick(ctl<QPushButton>(ui, "NextButton"), Qt::LeftButton);  // 4 left unanswered
        for (int p = 5; p <= total; ++p) {
            choose(h, window, true);
            if (p == 20) {  // 46 minutes on question 20: five minutes left
                now_ += 46 * 60'000;
                h.program.session.tick();
                QCOMPARE(ctl<QLabel>(ui, "exam_warning")->text(), QStringLiteral("5 minutes left"));
                QCOMPARE(ctl<QLabel>(ui, "exam_time_left")->text(), QStringLiteral("05:00"));
            }
            QTest::mouseClick(ctl<QPushButton>(ui, "NextButton"), Qt::LeftButton);
        }

        // NEXT on the last question opens the summary; 4 is chosen there.
        QuizHarness::settle();
        auto &summary = h.program.windows.get<ExamSummary>();
        QVERIFY(summary.isVisible());
        QCOMPARE(summary.windowTitle(), QStringLiteral("Review and submit"));
        QVERIFY(ctl<QLabel>(summary, "counts")->text().contains(QStringLiteral("1 unanswered, 1 flagged")));
        QVERIFY(ctl<QPushButton>(summary, "position_", 2)->text().endsWith(QStringLiteral("answered\nflagged")));
        QVERIFY(ctl<QPushButton>(summary, "position_", 4)->text().contains(QStringLiteral("unanswered")));
        ctl<QPushButton>(summary, "position_", 4)->setFocus();
        QTest::keyClick(ctl<QPushButton>(summary, "position_", 4), Qt::Key_Return);
        QuizHarness::settle();
        QVERIFY(!h.program.windows.is_loaded<ExamSummary>());
        QCOMPARE(h.program.session.state().current_question, qint16(4));

        // Submit from the summary, asked first; then the review.
        QTest::mouseClick(ctl<QPushButton>(ui, "exam_submit"), Qt::LeftButton);
        h.result_choice = ResultChoice::review;
        QTest::mouseClick(ctl<QPushButton>(h.program.windows.get<ExamSummary>(), "submit_button"), Qt::LeftButton);
        QuizHarness::settle();
        QCOMPARE(h.messages.at(h.messages.size() - 2).text, QStringLiteral("1 unanswered and 1 flagged. Submit anyway?"));
        QVERIFY(h.messages.last().text.contains(QStringLiteral("= %1/%2\n").arg(total - 1).arg(total)));
        QCOMPARE(h.result_missed.last(), 1);
        auto &review = h.program.windows.get<ReviewWindow>();
        QCOMPARE(ctl<QListWidget>(review, "question_list")->count(), int(total));
        QVERIFY(ctl<QListWidget>(review, "question_list")->item(3)->text().startsWith(QStringLiteral("4. Unanswered")));
        QVERIFY(ctl<QListWidget>(review, "question_list")->item(1)->text().startsWith(QStringLiteral("2. Right")));
        QCOMPARE(h.program.session.answers().answers()[19].milliseconds, 46 * 60'000LL);  // the time spent on 20
    }

    void time_up_submits_what_was_given()
    {
        QuizHarness h;
        quest &window = start_exam(h, 2);
        choose(h, window, true);
        QTest::mouseClick(ctl<QPushButton>(window, "NextButton"), Qt::LeftButton);
        choose(h, window, true);  // on screen, not yet NEXT
        now_ += 60'000;
        h.program.session.tick();
        QCOMPARE(ctl<QLabel>(window, "exam_warning")->text(), QStringLiteral("1 minute left"));
        QVERIFY(h.result_missed.isEmpty());
        now_ += 60'000;
        h.program.session.tick();
        QuizHarness::settle();
        QCOMPARE(h.result_missed.size(), 1);
        QVERIFY(h.messages.last().text.contains(QStringLiteral("= 2/%1\n").arg(h.program.session.answers().asked())));
        QVERIFY(h.program.windows.get<Welcome>().isVisible());
    }

    void closing_asks_whether_to_submit()
    {
        QuizHarness h;
        quest &window = start_exam(h);
        h.ask_answer = false;
        window.close();
        QuizHarness::settle();
        QVERIFY(window.isVisible() && h.result_missed.isEmpty());
        QCOMPARE(h.messages.last().text, QStringLiteral("%1 unanswered and 0 flagged. Submit anyway?")
                                             .arg(h.program.session.state().questions_per_quiz));
        h.ask_answer = true;
        h.result_choice = ResultChoice::retry_missed;  // an exam again, of everything missed
        QTest::mouseClick(ctl<QPushButton>(window, "quitquiz"), Qt::LeftButton);
        QuizHarness::settle();
        QCOMPARE(h.result_missed.last(), int(h.program.session.state().questions_per_quiz));
        QVERIFY(h.program.session.exam());
        QCOMPARE(h.program.session.state().current_question, qint16(1));
    }
    // Time-up while "Submit anyway?" is open: nothing is marked under the
    // open question; once it is answered, the exam is marked once.
    void time_up_under_an_open_question()
    {
        QuizHarness h;
        quest &window = start_exam(h, 2);
        int results_while_asking = -1;
        h.ask_answer = false;
        h.while_asking = [&] {
            now_ += 2 * 60'000;
            h.program.session.tick();
            QCoreApplication::processEvents();
            results_while_asking = int(h.result_missed.size());
        };
        QTest::mouseClick(ctl<QPushButton>(window, "quitquiz"), Qt::LeftButton);
        QCOMPARE(results_while_asking, 0);
        QTRY_COMPARE(h.result_missed.size(), 1);
        QVERIFY(h.messages.last().text.startsWith(QStringLiteral("The time ran out.")));
        QVERIFY(!h.program.session.in_progress());
    }

    // Flag belongs to the question on screen when it was pressed, even if
    // NEXT comes before its click completes (Alt+F then Enter).
    void flag_stays_with_its_question()
    {
        QuizHarness h;
        quest &window = start_exam(h);
        ctl<QCheckBox>(window, "exam_flag")->animateClick();
        QTest::mouseClick(ctl<QPushButton>(window, "NextButton"), Qt::LeftButton);
        QTest::qWait(200);
        QVERIFY(h.program.session.flagged(0));
        QVERIFY(!h.program.session.flagged(1));
        QVERIFY(!ctl<QCheckBox>(window, "exam_flag")->isChecked());
    }
};

QTEST_MAIN(ExamTest)
#include "test_exam.moc"
