// The review and retry that may follow a quiz, driven through the windows:
// the result box's buttons, the review window against the answer log, and
// a retry that asks exactly the missed questions.
#include "harness/quiz_harness.h"

#include "gui/review_window.h"
#include "quiz/topic_scores.h"

#include <QSet>

namespace {

// Answers every question of the running quiz, wrong where wrong(position)
// holds; returns the bank indices missed, in asking order.
template <class Wrong> QList<qint16> answer_all(QuizHarness &h, Wrong wrong)
{
    QList<qint16> missed;
    const qint16 total = h.program.session.state().questions_per_quiz;
    for (qint16 position = 1; position <= total; ++position) {
        if (wrong(position))
            missed << h.program.session.state().question_id;
        h.answer(h.program.windows.get<quest>(), !wrong(position));
    }
    QuizHarness::settle();
    return missed;
}

bool third(qint16 position) { return position % 3 == 0; }

} // namespace

class ReviewTest : public QObject
{
    Q_OBJECT

private slots:
    void review_agrees_with_the_log()
    {
        QuizHarness h;
        h.start_program();
        h.start_quiz(1, false, true, false, false);
        h.result_choice = ResultChoice::review;
        const QList<qint16> missed = answer_all(h, third);
        QCOMPARE(h.result_missed, QList<int>{int(missed.size())});
        QVERIFY(!h.program.windows.is_loaded<quest>());
        auto &review = h.program.windows.get<ReviewWindow>();
        QVERIFY(review.isVisible());
        QCOMPARE(review.windowTitle(), QStringLiteral("Review - ") + h.program.bank.test_title);
        const auto &log = h.program.session.answers().answers();
        QCOMPARE(int(log.size()), int(h.program.session.state().questions_per_quiz));

        QWidget &ui = review;
        const struct { QRadioButton *button; int rows; } filters[] = {
            {ctl<QRadioButton>(ui, "show_wrong"), int(missed.size())}, {ctl<QRadioButton>(ui, "show_right"), int(log.size() - missed.size())}, {ctl<QRadioButton>(ui, "show_all"), int(log.size())}};
        for (const auto &filter : filters) {
            QTest::mouseClick(filter.button, Qt::LeftButton, {}, QPoint(4, filter.button->height() / 2));
            QCOMPARE(ctl<QListWidget>(ui, "question_list")->count(), filter.rows);
            for (int row = 0; row < filter.rows; ++row) {
                const int position = review.rows()[size_t(row)];
                const LoggedAnswer &answer = log[size_t(position)];
                QCOMPARE(answer.right, !third(qint16(position + 1)));
                QVERIFY(ctl<QListWidget>(ui, "question_list")->item(row)->text().startsWith(
                    QStringLiteral("%1. %2").arg(position + 1).arg(answer.right ? "Right" : "Wrong")));
                QVERIFY(!ctl<QListWidget>(ui, "question_list")->item(row)->icon().isNull());
                QVERIFY(filter.button != ctl<QRadioButton>(ui, "show_wrong") || missed[row] == answer.bank_index);
            }
        }
        QCOMPARE(ctl<QTreeWidget>(ui, "topic_scores")->topLevelItemCount(), int(score_by_topic(log).size()));
        QVERIFY(ctl<QPushButton>(ui, "retry_missed")->isVisible());
        QCOMPARE(ctl<QPushButton>(ui, "retry_missed")->text(), QStringLiteral("Retry &missed (%1)").arg(missed.size()));

        // Up and Down move through the list, the detail follows.
        QCOMPARE(ctl<QListWidget>(ui, "question_list")->currentRow(), 0);
        QTest::keyClick(&review, Qt::Key_Down);
        QTest::keyClick(&review, Qt::Key_Down);
        QTest::keyClick(&review, Qt::Key_Up);
        QCOMPARE(ctl<QListWidget>(ui, "question_list")->currentRow(), 1);
        QVERIFY(ctl<QTextEdit>(ui, "detail")->toPlainText().startsWith(QStringLiteral("Question 2: Right")));

        QTest::keyClick(&review, Qt::Key_Escape);
        QuizHarness::settle();
        QVERIFY(!h.program.windows.is_loaded<ReviewWindow>());
        QVERIFY(h.program.windows.get<Welcome>().isVisible());
        QCOMPARE(h.program.windows.loaded_count(), 1);
    }

    void retry_asks_exactly_the_missed_data()
    {
        QTest::addColumn<bool>("through_review");
        QTest::addColumn<bool>("shuffle");
        QTest::newRow("result box, in order") << false << false;
        QTest::newRow("result box, shuffled") << false << true;
        QTest::newRow("review window, shuffled") << true << true;
    }

    void retry_asks_exactly_the_missed()
    {
        QFETCH(bool, through_review);
        QFETCH(bool, shuffle);
        QuizHarness h;
        h.start_program();
        h.start_quiz(2, shuffle, shuffle, false, false);
        h.result_choice = through_review ? ResultChoice::review : ResultChoice::retry_missed;
        const QList<qint16> missed = answer_all(h, third);
        if (through_review)
            QTest::mouseClick(ctl<QPushButton>(h.program.windows.get<ReviewWindow>(), "retry_missed"), Qt::LeftButton);
        QuizHarness::settle();
        QVERIFY(!h.program.windows.is_loaded<ReviewWindow>());
        QCOMPARE(h.program.windows.loaded_count(), 1);
        QVERIFY(h.program.windows.get<quest>().isVisible());
        QCOMPARE(h.program.session.state().questions_per_quiz, qint16(missed.size()));
        QCOMPARE(ctl<QLabel>(h.program.windows.get<quest>(), "score")->text(), QString());

        // The retry: the first missed question right, the rest wrong again.
        h.result_choice = ResultChoice::retry_missed;
        const QList<qint16> asked_first = {h.program.session.state().question_id};
        const QList<qint16> missed_again = answer_all(h, [](qint16 position) { return position > 1; });
        const QList<qint16> asked = asked_first + missed_again;
        if (shuffle)
            QCOMPARE(QSet<qint16>(asked.begin(), asked.end()), QSet<qint16>(missed.begin(), missed.end()));
        else
            QCOMPARE(asked, missed);
        QVERIFY(h.messages.last().text.contains(QStringLiteral(" Right/Total  = 1/%1\n").arg(missed.size())));
        QCOMPARE(h.result_missed.last(), int(missed.size()) - 1);

        // A second retry asks what was missed again; all right, then OK.
        QCOMPARE(h.program.session.state().questions_per_quiz, qint16(missed.size() - 1));
        h.result_choice = ResultChoice::ok;
        answer_all(h, [](qint16) { return false; });
        QCOMPARE(h.result_missed.last(), 0);
        QVERIFY(h.program.windows.get<Welcome>().isVisible());
        QCOMPARE(h.program.windows.loaded_count(), 1);
    }

    void a_quit_quiz_logs_only_the_answered()
    {
        QuizHarness h;
        h.start_program();
        quest &window = h.start_quiz(3, true, true, false, false);
        h.answer(window, false);
        h.answer(window, true);
        QTest::mouseClick(ctl<QPushButton>(window, "quitquiz"), Qt::LeftButton);
        QuizHarness::settle();
        QCOMPARE(h.program.session.answers().asked(), 2);
        QCOMPARE(h.result_missed, QList<int>{1});
        QVERIFY(h.program.windows.get<Welcome>().isVisible());  // OK alone: straight to the welcome window
    }
};

QTEST_MAIN(ReviewTest)
#include "test_review.moc"
