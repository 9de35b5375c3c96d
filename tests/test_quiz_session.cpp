// The quiz flow without windows: practice and exam through the session's
// calls, checked by the signals it gives and the state it keeps.
#include "bank/bank_loaders.h"
#include "bank/question_bank.h"
#include "flow/quiz_session.h"
#include "quiz/random_generator.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Presses exactly the right choices (or types the first accepted answer),
// or nothing at all.
StudentAnswer answer_for(const question_record &shown, bool right)
{
    StudentAnswer answer;
    if (is_typed_question(shown)) {
        answer.typed = right ? shown.answers[1] : QString();
        return answer;
    }
    for (size_t p = 1; p <= 6; ++p) {
        answer.choice.visible[p] = !shown.answers[p].trimmed().isEmpty();
        answer.choice.pressed[p] = right && shown.correct[p] == 1;
    }
    return answer;
}

struct Fixture {
    Fixture() { fill_question_bank(bank); }
    QuestionBank bank;
    RandomGenerator random{7};
    qint64 now = 0;
    QuizSession session{bank, random, [this] { return now; }};
};

} // namespace

class QuizSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void practice_data()
    {
        QTest::addColumn<QString>("answers");  // per question: r right, w wrong; stops early when the quiz is quit
        QTest::addColumn<bool>("quit");
        QTest::addColumn<bool>("when_right");
        QTest::newRow("all right, answer window when right") << QString(51, QLatin1Char('r')) << false << true;
        QTest::newRow("mixed, answer window when wrong") << QString("rw").repeated(25) + "r" << false << false;
        QTest::newRow("quit after three") << QStringLiteral("rwr") << true << false;
        QTest::newRow("quit at once") << QString() << true << false;
    }

    void practice()
    {
        QFETCH(QString, answers);
        QFETCH(bool, quit);
        QFETCH(bool, when_right);
        Fixture f;
        QSignalSpy shown(&f.session, &QuizSession::questionShown), marked(&f.session, &QuizSession::answerMarked),
            ended(&f.session, &QuizSession::quizEnded);
        QuizOptions options;
        options.quiz_number = 2;
        options.show_when_right = when_right;
        f.session.start(options);
        QCOMPARE(f.session.state().questions_per_quiz, qint16(51));
        QVERIFY(f.session.in_progress());
        int right = 0, windows = 0;
        for (const QChar verdict : answers) {
            const bool is_right = verdict == QLatin1Char('r');
            QCOMPARE(f.session.state().question_id % 4, 2);  // quiz 2 of the interleaved bank
            f.session.next(answer_for(f.session.state().current_record, is_right));
            right += is_right;
            windows += is_right == when_right;
            QCOMPARE(marked.last().at(0).toBool(), is_right);
            QCOMPARE(marked.last().at(1).toBool(), is_right == when_right);
        }
        if (quit)
            f.session.quit();
        QCOMPARE(ended.count(), 1);
        QVERIFY(!f.session.in_progress());
        QCOMPARE(marked.count(), int(answers.size()));
        QCOMPARE(shown.count(), quit ? int(answers.size()) + 1 : 51);
        int shown_windows = 0;
        for (const QList<QVariant> &signal : marked)
            shown_windows += signal.at(1).toBool();
        QCOMPARE(shown_windows, windows);
        QCOMPARE(f.session.state().number_right, qint16(right));
        // The report counts over the whole quiz, quit or not.
        QCOMPARE(f.session.state().current_question, qint16(51));
        QCOMPARE(f.session.answers().asked(), int(answers.size()));
        QCOMPARE(f.session.answers().missed_count(), int(answers.size()) - right);

        // A retry asks exactly the missed questions, afresh.
        const std::vector<qint16> missed = f.session.answers().missed_questions();
        f.session.retry_missed();
        QCOMPARE(f.session.in_progress(), !missed.empty());
        if (!missed.empty()) {
            QCOMPARE(f.session.state().questions_per_quiz, qint16(missed.size()));
            QCOMPARE(f.session.state().current_question, qint16(1));
            QCOMPARE(f.session.state().number_right, qint16(0));
            QCOMPARE(f.session.answers().asked(), 0);
        }
    }

    void exam_data()
    {
        QTest::addColumn<QString>("moves");    // r right, w wrong, - nothing, < back, f flag; then NEXT
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("flagged");
        QTest::addColumn<int>("summaries");  // NEXT on the last question asks for the summary
        QTest::newRow("forward only") << QStringLiteral("rrw") << 2 << 0 << 1;
        QTest::newRow("back to mend") << QStringLiteral("rw<r") << 2 << 0 << 0;
        QTest::newRow("flag and leave blank") << QStringLiteral("f-r") << 1 << 1 << 0;
    }

    void exam()
    {
        QFETCH(QString, moves);
        QFETCH(int, right);
        QFETCH(int, flagged);
        QFETCH(int, summaries);
        Fixture f;
        QSignalSpy ended(&f.session, &QuizSession::quizEnded), summary(&f.session, &QuizSession::summaryRequested),
            time_up(&f.session, &QuizSession::timeUp);
        QuizOptions options;
        options.random_questions = options.random_answers = false;
        options.exam_mode = true;
        options.exam_minutes = 10;
        f.session.start_with(options, {1, 2, 3});
        QVERIFY(f.session.exam());
        QCOMPARE(f.session.state().show_when_wrong, qint16(0));  // an exam shows no answers
        for (const QChar move : moves) {
            const question_record &shown = f.session.state().current_record;
            if (move == QLatin1Char('<'))
                f.session.back(answer_for(shown, false));
            else if (move == QLatin1Char('f'))
                f.session.set_flagged(f.session.state().current_question - 1, true);
            else
                f.session.next(answer_for(shown, move == QLatin1Char('r')));
            f.now += 1000;
        }
        QCOMPARE(ended.count(), 0);  // nothing is marked before the submit
        QCOMPARE(f.session.exam()->flagged_count(), flagged);
        QCOMPARE(summary.count(), summaries);
        QCOMPARE(f.session.state().current_question, qint16(3));

        f.session.submit();
        QCOMPARE(ended.count(), 1);
        QVERIFY(!f.session.exam() && !f.session.ended_by_time() && time_up.isEmpty());
        QCOMPARE(f.session.state().number_right, qint16(right));
        QCOMPARE(f.session.state().current_question, qint16(3));
        QCOMPARE(f.session.answers().asked(), 3);
    }

    void exam_time_runs_out()
    {
        Fixture f;
        QSignalSpy ended(&f.session, &QuizSession::quizEnded), time_up(&f.session, &QuizSession::timeUp),
            warnings(&f.session, &QuizSession::examWarning);
        QuizOptions options;
        options.exam_mode = true;
        options.exam_minutes = 2;
        f.session.start(options);
        f.session.next(answer_for(f.session.state().current_record, true));
        f.now += 60'000;
        f.session.tick();
        QCOMPARE(warnings.count(), 1);
        f.now += 60'000;
        f.session.tick();
        f.session.tick();
        // Time-up is told once; the marking waits for whoever shows the exam.
        QCOMPARE(time_up.count(), 1);
        QCOMPARE(ended.count(), 0);
        f.session.submit();
        QCOMPARE(ended.count(), 1);
        QVERIFY(f.session.ended_by_time());
        QCOMPARE(f.session.state().number_right, qint16(1));
        QCOMPARE(f.session.answers().asked(), 51);
        f.session.submit();  // once only
        QCOMPARE(ended.count(), 1);
    }
};

QTEST_GUILESS_MAIN(QuizSessionTest)
#include "test_quiz_session.moc"
