// Exam mode driven through the windows: the options, the question window
// with Back, Flag and the countdown on a clock the test moves, the summary,
// submitting (or running out of time) and the review that follows.
#include "quiz_harness.h"

#include "gui/exam_controller.h"
#include "gui/exam_summary.h"
#include "gui/review_window.h"
#include "ui_exam_summary.h"
#include "ui_review.h"

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
        auto &ui = h.agree().ui();
        ui.random_questions->setChecked(false);
        ui.random_answers->setChecked(false);
        ui.exam_mode->setChecked(true);
        if (minutes > 0)
            ui.exam_minutes->setValue(minutes);
        QTest::mouseClick(ui.Command1, Qt::LeftButton);
        QuizHarness::settle();
        return h.program.windows.get<quest>();
    }

    // Presses the right choices, or the first wrong one.
    static void choose(QuizHarness &h, quest &window, bool right)
    {
        const question_record &record = h.program.state.current_record;
        for (size_t p = 1; p <= 6; ++p) {
            const bool press = right ? record.correct[p] == 1 : record.correct[p] == 0;
            if (!window.QChoice[p]->isHidden() && window.QChoice[p]->isChecked() != press)
                QTest::mouseClick(window.QChoice[p], Qt::LeftButton);
            if (!right && press)
                right = true;  // one wrong choice is enough; press no more
        }
    }

private slots:
    void options_default_to_practice()
    {
        QuizHarness h;
        h.start_program();
        auto &ui = h.agree().ui();
        QVERIFY(!ui.exam_mode->isChecked());
        QCOMPARE(ui.exam_minutes->value(), int(h.program.state.questions_per_quiz));
        ui.exam_mode->setChecked(true);
        QVERIFY(!ui.answer_when_wrong->isEnabled() && !ui.answer_when_right->isEnabled() && ui.exam_minutes->isEnabled());
        ui.exam_mode->setChecked(false);
        QVERIFY(ui.answer_when_wrong->isEnabled() && ui.answer_when_right->isEnabled() && !ui.exam_minutes->isEnabled());
    }

    void a_whole_exam()
    {
        QuizHarness h;
        quest &window = start_exam(h);
        auto &ui = window.ui();
        const qint16 total = h.program.state.questions_per_quiz;
        QVERIFY(window.exam());
        QVERIFY(ui.score->isHidden() && ui.Percent_Right->isHidden() && ui.the_gauge->isHidden());
        QVERIFY(ui.exam_back->isVisible() && !ui.exam_back->isEnabled() && ui.exam_flag->isVisible());
        QCOMPARE(ui.exam_time_left->text(), QStringLiteral("%1:00").arg(total));

        // 1 right, and its answer outlives the clue; 2 wrong and flagged; 3
        // right, then back to 2 to mend it.
        h.program.state.current_record.clue = QStringLiteral("Think of the FCS.");
        window.lay_out_question();
        choose(h, window, true);
        const std::array<bool, 7> pressed = window.answer_on_screen().choice.pressed;
        QTest::mouseClick(ui.cluebutton, Qt::LeftButton);
        QCOMPARE(h.messages.last().text, QStringLiteral("Think of the FCS."));
        QCOMPARE(window.answer_on_screen().choice.pressed, pressed);
        QTest::keyClick(&window, Qt::Key_Return);
        choose(h, window, false);
        QTest::mouseClick(ui.exam_flag, Qt::LeftButton, {}, QPoint(4, ui.exam_flag->height() / 2));
        QTest::mouseClick(ui.NextButton, Qt::LeftButton);
        QCOMPARE(ui.score->text(), QString());  // nothing marked on the way
        choose(h, window, true);
        ui.exam_back->setFocus();
        QTest::keyClick(ui.exam_back, Qt::Key_Return);  // Enter presses the focused Back
        QCOMPARE(h.program.state.current_question, qint16(2));
        QVERIFY(ui.exam_flag->isChecked());
        choose(h, window, true);
        QTest::mouseClick(ui.NextButton, Qt::LeftButton);
        const question_record third = h.program.state.current_record;
        for (size_t p = 1; p <= 6; ++p)  // the third kept its answer
            QCOMPARE(window.QChoice[p]->isChecked(), !window.QChoice[p]->isHidden() && third.correct[p] == 1);
        QTest::mouseClick(ui.NextButton, Qt::LeftButton);
        QTest::mouseClick(ui.NextButton, Qt::LeftButton);  // 4 left unanswered
        for (int p = 5; p <= total; ++p) {
            choose(h, window, true);
            if (p == 20) {  // 46 minutes on question 20: five minutes left
                now_ += 46 * 60'000;
                window.exam()->tick();
                QCOMPARE(ui.exam_warning->text(), QStringLiteral("5 minutes left"));
                QCOMPARE(ui.exam_time_left->text(), QStringLiteral("05:00"));
            }
            QTest::mouseClick(ui.NextButton, Qt::LeftButton);
        }

        // NEXT on the last question opens the summary; 4 is chosen there.
        QuizHarness::settle();
        auto &summary = h.program.windows.get<ExamSummary>();
        QVERIFY(summary.isVisible());
        QCOMPARE(summary.windowTitle(), QStringLiteral("Review and submit"));
        QVERIFY(summary.ui().counts->text().contains(QStringLiteral("1 unanswered, 1 flagged")));
        QVERIFY(summary.position_button(2)->text().endsWith(QStringLiteral("answered\nflagged")));
        QVERIFY(summary.position_button(4)->text().contains(QStringLiteral("unanswered")));
        summary.position_button(4)->setFocus();
        QTest::keyClick(summary.position_button(4), Qt::Key_Return);
        QuizHarness::settle();
        QVERIFY(!h.program.windows.is_loaded<ExamSummary>());
        QCOMPARE(h.program.state.current_question, qint16(4));

        // Submit from the summary, asked first; then the review.
        QTest::mouseClick(ui.exam_submit, Qt::LeftButton);
        h.result_choice = ResultChoice::review;
        QTest::mouseClick(h.program.windows.get<ExamSummary>().ui().submit_button, Qt::LeftButton);
        QuizHarness::settle();
        QCOMPARE(h.messages.at(h.messages.size() - 2).text, QStringLiteral("1 unanswered and 1 flagged. Submit anyway?"));
        QVERIFY(h.messages.last().text.contains(QStringLiteral("= %1/%2\n").arg(total - 1).arg(total)));
        QCOMPARE(h.result_missed.last(), 1);
        auto &review = h.program.windows.get<ReviewWindow>();
        QCOMPARE(review.ui().question_list->count(), int(total));
        QVERIFY(review.ui().question_list->item(3)->text().startsWith(QStringLiteral("4. Unanswered")));
        QVERIFY(review.ui().question_list->item(1)->text().startsWith(QStringLiteral("2. Right")));
        QCOMPARE(h.program.answers.answers()[19].milliseconds, 46 * 60'000LL);  // the time spent on 20
    }

    void time_up_submits_what_was_given()
    {
        QuizHarness h;
        quest &window = start_exam(h, 2);
        choose(h, window, true);
        QTest::mouseClick(window.ui().NextButton, Qt::LeftButton);
        choose(h, window, true);  // on screen, not yet NEXT
        now_ += 60'000;
        window.exam()->tick();
        QCOMPARE(window.ui().exam_warning->text(), QStringLiteral("1 minute left"));
        QVERIFY(h.result_missed.isEmpty());
        now_ += 60'000;
        window.exam()->tick();
        QuizHarness::settle();
        QCOMPARE(h.result_missed.size(), 1);
        QVERIFY(h.messages.last().text.contains(QStringLiteral("= 2/%1\n").arg(h.program.answers.asked())));
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
                                             .arg(h.program.state.questions_per_quiz));
        h.ask_answer = true;
        h.result_choice = ResultChoice::retry_missed;  // an exam again, of everything missed
        QTest::mouseClick(window.ui().quitquiz, Qt::LeftButton);
        QuizHarness::settle();
        QCOMPARE(h.result_missed.last(), int(h.program.state.questions_per_quiz));
        QVERIFY(h.program.windows.get<quest>().exam());
        QCOMPARE(h.program.state.current_question, qint16(1));
    }
};

QTEST_MAIN(ExamTest)
#include "test_exam.moc"
