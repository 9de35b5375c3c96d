// What follows a quiz, without windows: the answer log and its marking, the
// score by topic and its advice, the retry of the missed questions, and the
// texts of the review.
#include "quiz/answer_log.h"
#include "quiz/exam_session.h"
#include "quiz/question_order.h"
#include "quiz/question_presentation.h"
#include "quiz/quiz_state.h"
#include "quiz/random_generator.h"
#include "quiz/review_text.h"
#include "quiz/topic_scores.h"

#include <QTest>
#include <algorithm>

namespace {

question_record bank_question(const QString &type, const QStringList &answers, const QList<int> &right)
{
    question_record record;
    record.question = QStringLiteral("Which <port> forwards?");
    record.question_type = type;
    record.topic = QStringLiteral("STP");
    for (int p = 1; p <= answers.size(); ++p) {
        record.answers[size_t(p)] = answers[p - 1];
        record.answer_feedback[size_t(p)] = QStringLiteral("feedback on ") + answers[p - 1];
    }
    for (int p : right)
        record.correct[size_t(p)] = 1;
    return record;
}

LoggedAnswer logged(const QString &topic, bool right, qint16 bank_index = 1)
{
    LoggedAnswer answer;
    answer.bank_index = bank_index;
    answer.shown.topic = topic;
    answer.right = right;
    return answer;
}

} // namespace

class StudyTest : public QObject
{
    Q_OBJECT

private slots:
    void log_marks_as_shown_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QList<int>>("right");           // bank answer numbers
        QTest::addColumn<bool>("shuffle");
        QTest::addColumn<QList<int>>("press");           // bank answer numbers pressed
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("expected");
        const QString choice = QStringLiteral("single_answer"), typed = QStringLiteral("fill_in");
        for (bool shuffle : {false, true}) {
            const QByteArray tag = shuffle ? " shuffled" : "";
            QTest::newRow("right" + tag) << choice << QList<int>{2} << shuffle << QList<int>{2} << QString() << true;
            QTest::newRow("wrong" + tag) << choice << QList<int>{2} << shuffle << QList<int>{3} << QString() << false;
            QTest::newRow("nothing pressed" + tag) << choice << QList<int>{2} << shuffle << QList<int>{} << QString() << false;
            QTest::newRow("several right" + tag) << choice << QList<int>{1, 4} << shuffle << QList<int>{4, 1} << QString() << true;
            QTest::newRow("several, one missing" + tag) << choice << QList<int>{1, 4} << shuffle << QList<int>{1} << QString() << false;
            QTest::newRow("several, one extra" + tag) << choice << QList<int>{1, 4} << shuffle << QList<int>{1, 3, 4} << QString() << false;
            QTest::newRow("typed right" + tag) << typed << QList<int>{1} << shuffle << QList<int>{} << QStringLiteral("  root port\n") << true;
            QTest::newRow("typed second accepted" + tag) << typed << QList<int>{1} << shuffle << QList<int>{} << QStringLiteral("ROOT") << true;
            QTest::newRow("typed wrong" + tag) << typed << QList<int>{1} << shuffle << QList<int>{} << QStringLiteral("designated") << false;
        }
    }

    void log_marks_as_shown()
    {
        QFETCH(QString, type);
        QFETCH(QList<int>, right);
        QFETCH(bool, shuffle);
        QFETCH(QList<int>, press);
        QFETCH(QString, typed);
        QFETCH(bool, expected);
        const QStringList texts = type == QLatin1String("fill_in")
            ? QStringList{QStringLiteral("root port"), QStringLiteral("root")}
            : QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("four"), QStringLiteral("five")};
        const question_record bank = bank_question(type, texts, right);
        RandomGenerator random(7);
        const PresentedQuestion shown = present_question(bank, shuffle, random);
        // A typed question's answers are matched in their order: never shuffled.
        QCOMPARE(shown.display_order[1] != 1 || shown.display_order[2] != 2, shuffle && type != QLatin1String("fill_in"));

        LoggedAnswer answer;
        answer.bank_index = 42;
        answer.shown = shown.record;
        answer.typed = typed;
        for (size_t p = 1; p <= 6; ++p) {
            answer.choice.visible[p] = !shown.record.answers[p].isEmpty();
            answer.choice.pressed[p] = press.contains(shown.display_order[p]);
            // Every answer keeps its right flag and its feedback in the order shown.
            QCOMPARE(answer.shown.answers[p], bank.answers[size_t(shown.display_order[p])]);
            QCOMPARE(answer.shown.correct[p], bank.correct[size_t(shown.display_order[p])]);
            QCOMPARE(answer.shown.answer_feedback[p], bank.answer_feedback[size_t(shown.display_order[p])]);
        }
        mark(answer);
        QCOMPARE(answer.right, expected);
        answer.answered = false;
        mark(answer);
        QVERIFY(!answer.right);  // left unanswered is never right

        // An exam keeps the same answer and marks it the same at submit.
        ExamSession exam(1, 60'000, 0);
        exam.set_question(0, 42, shown.record);
        exam.keep(0, StudentAnswer{answer.choice, answer.typed, {}, {}});
        QCOMPARE(exam.submit(0).front().right, expected);

        AnswerLog log;
        answer.answered = true;
        mark(answer);
        log.add(answer);
        QCOMPARE(log.right_count(), expected ? 1 : 0);
        QCOMPARE(log.missed_questions(), (expected ? std::vector<qint16>{} : std::vector<qint16>{42}));
    }

    void topics_weakest_first_data()
    {
        QTest::addColumn<QStringList>("asked");     // "topic+" right, "topic-" wrong
        QTest::addColumn<QStringList>("expected");  // "topic right/asked percent"
        QTest::addColumn<QString>("advice_topic");  // "" = no advice
        QTest::newRow("none") << QStringList{} << QStringList{} << QString();
        QTest::newRow("weakest share first")
            << QStringList{"VLAN+", "VLAN-", "STP-", "STP-", "STP+", "LACP+"}
            << QStringList{"STP 1/3 33", "VLAN 1/2 50", "LACP 1/1 100"} << "STP";
        QTest::newRow("equal share: more asked first, then name")
            << QStringList{"b-", "a-", "c-", "c-"} << QStringList{"c 0/2 0", "a 0/1 0", "b 0/1 0"} << QString();
        QTest::newRow("weakest asked twice: no advice")
            << QStringList{"VLAN-", "VLAN+", "STP+", "STP+", "STP+"} << QStringList{"VLAN 1/2 50", "STP 3/3 100"} << QString();
        QTest::newRow("all right: no advice")
            << QStringList{"STP+", "STP+", "STP+"} << QStringList{"STP 3/3 100"} << QString();
        QTest::newRow("no topic is General")
            << QStringList{" -", "-", "+"} << QStringList{"General 1/3 33"} << "General";
        QTest::newRow("shares compared exactly")
            << QStringList{"x+", "x+", "x-", "y+", "y+", "y+", "y+", "y-", "y-"}
            << QStringList{"y 4/6 66", "x 2/3 66"} << "y";  // 4/6 == 2/3: more asked first
    }

    void topics_weakest_first()
    {
        QFETCH(QStringList, asked);
        QFETCH(QStringList, expected);
        QFETCH(QString, advice_topic);
        std::vector<LoggedAnswer> answers;
        for (const QString &entry : asked)
            answers.push_back(logged(entry.chopped(1), entry.endsWith(QLatin1Char('+'))));
        QStringList got;
        const std::vector<TopicScore> scores = score_by_topic(answers);
        for (const TopicScore &score : scores)
            got << QStringLiteral("%1 %2/%3 %4").arg(score.topic).arg(score.right).arg(score.asked).arg(score.percent());
        QCOMPARE(got, expected);
        const QString advice = topic_advice(scores);
        QCOMPARE(advice.isEmpty(), advice_topic.isEmpty());
        QVERIFY(advice.contains(advice_topic));
    }

    void retry_asks_the_missed_in_order()
    {
        AnswerLog log;
        const bool right[] = {true, false, true, false, false};
        const qint16 bank[] = {9, 5, 77, 204, 13};
        for (int i = 0; i < 5; ++i)
            log.add(logged(QString(), right[i], bank[i]));
        QCOMPARE(log.missed_count(), 3);
        QCOMPARE(log.missed_questions(), (std::vector<qint16>{5, 204, 13}));

        for (qint16 shuffle : {0, 1}) {
            QuizState state;
            state.random_question_order = shuffle;
            set_quiz_questions(state, log.missed_questions());
            RandomGenerator random(3);
            build_question_order(state, random);
            QCOMPARE(state.questions_per_quiz, qint16(3));
            std::vector<qint16> asked;
            for (qint16 p = 1; p <= state.questions_per_quiz; ++p)
                asked.push_back(state.quiz_questions.at(size_t(state.question_order.at(size_t(p)))));
            if (!shuffle)
                QCOMPARE(asked, (std::vector<qint16>{5, 204, 13}));
            std::sort(asked.begin(), asked.end());
            QCOMPARE(asked, (std::vector<qint16>{5, 13, 204}));
        }
    }

    void exam_keeps_answers_flags_and_times()
    {
        ExamSession exam(3, 600'000, 1'000);
        const question_record question = bank_question(QStringLiteral("single_answer"), {"a", "b", "c"}, {2});
        for (int p = 0; p < 3; ++p)
            exam.set_question(p, qint16(10 * (p + 1)), question);
        ChoiceAnswer choice{{false, true, true, true}, {}};
        choice.pressed[2] = true;
        exam.keep(0, StudentAnswer{choice, {}, {}, {}});
        exam.go_to(1, 4'000);
        exam.keep(1, StudentAnswer{ChoiceAnswer{{false, true, true, true}, {}}, {}, {}, {}});  // nothing pressed
        exam.set_flagged(1, true);
        exam.go_to(9, 10'000);
        QCOMPARE(exam.current(), 2);
        exam.go_to(-1, 11'000);  // back to the first, its answer as given
        QCOMPARE(exam.current(), 0);
        QVERIFY(exam.answer(0).answered && exam.answer(0).choice.pressed[2]);
        QCOMPARE(exam.unanswered_count(), 2);
        QCOMPARE(exam.flagged_count(), 1);
        exam.set_flagged(1, false);
        QCOMPARE(exam.flagged_count(), 0);

        const std::vector<LoggedAnswer> marked = exam.submit(12'000);
        QCOMPARE(int(marked.size()), 3);
        const bool right[] = {true, false, false}, answered[] = {true, false, false};
        const qint64 times[] = {3'000 + 1'000, 6'000, 1'000};
        for (int p = 0; p < 3; ++p) {
            QCOMPARE(marked[size_t(p)].bank_index, qint16(10 * (p + 1)));
            QCOMPARE(marked[size_t(p)].right, right[p]);
            QCOMPARE(marked[size_t(p)].answered, answered[p]);
            QCOMPARE(marked[size_t(p)].milliseconds, times[p]);
        }
    }

    void exam_countdown_data()
    {
        QTest::addColumn<int>("limit_minutes");
        QTest::addColumn<QList<int>>("seconds");   // clock readings since the start
        QTest::addColumn<QString>("warnings");     // per reading: - none, 5 five minutes, 1 one minute, X time up
        QTest::newRow("ten minutes") << 10 << QList<int>{0, 299, 300, 301, 539, 540, 599, 600, 700} << "--5--1--X-X";
        QTest::newRow("both passed at once") << 10 << QList<int>{0, 570, 571} << "-1-";
        QTest::newRow("three minutes: no five-minute warning") << 3 << QList<int>{0, 119, 120, 180} << "--1-X";
        QTest::newRow("one minute: none at the start") << 1 << QList<int>{0, 30, 60} << "---X";
    }

    void exam_countdown()
    {
        QFETCH(int, limit_minutes);
        QFETCH(QList<int>, seconds);
        QFETCH(QString, warnings);
        ExamSession exam(2, limit_minutes * 60'000LL, 5'000);
        QString got;
        for (int second : seconds) {
            const qint64 now = 5'000 + second * 1'000LL;
            const ExamSession::Warning warning = exam.warning_due(now);
            got += warning == ExamSession::Warning::five_minutes ? QLatin1Char('5')
                 : warning == ExamSession::Warning::one_minute   ? QLatin1Char('1')
                                                                 : QLatin1Char('-');
            if (exam.time_up(now))
                got += QLatin1Char('X');
            QCOMPARE(exam.remaining_ms(now), std::max<qint64>(limit_minutes * 60'000LL - second * 1'000LL, 0));
        }
        QCOMPARE(got, warnings);
    }

    void review_filters_and_texts()
    {
        std::vector<LoggedAnswer> answers = {logged(QStringLiteral("STP"), true), logged(QStringLiteral("VLAN"), false),
                                             logged(QString(), false)};
        answers[2].answered = false;
        QCOMPARE(filtered_positions(answers, ReviewFilter::all), (std::vector<int>{0, 1, 2}));
        QCOMPARE(filtered_positions(answers, ReviewFilter::wrong), (std::vector<int>{1, 2}));
        QCOMPARE(filtered_positions(answers, ReviewFilter::right), (std::vector<int>{0}));
        QCOMPARE(verdict_word(answers[0]) + verdict_word(answers[1]) + verdict_word(answers[2]),
                 QStringLiteral("RightWrongUnanswered"));

        LoggedAnswer choice;
        choice.shown = bank_question(QStringLiteral("single_answer"), {"a & b", "c", "d"}, {2});
        choice.choice = {{false, true, true, true}, {false, true, false, false}};
        choice.milliseconds = 65'000;
        mark(choice);
        QVERIFY(review_row_text(4, choice).startsWith(QStringLiteral("4. Wrong - STP: Which <port>")));
        const QString detail = review_detail_html(4, choice);
        for (const char *part : {"Which &lt;port&gt; forwards?", "a &amp; b", "your choice, wrong", "right answer, not chosen",
                                 "feedback on c", "time 1:05"})
            QVERIFY2(detail.contains(QLatin1String(part)), part);
        // Any one of two right answers: the other is not "not chosen".
        choice.shown = bank_question(QStringLiteral("ANY_ONE_RIGHT"), {"10", "20", "4095"}, {1, 2});
        choice.choice = {{false, true, true, true}, {false, true, false, false}};
        mark(choice);
        QVERIFY(choice.right);
        QVERIFY(review_detail_html(4, choice).contains(QLatin1String("also right: any one of these will do")));
        QVERIFY(!review_detail_html(4, choice).contains(QLatin1String("not chosen")));

        LoggedAnswer typed;
        typed.shown = bank_question(QStringLiteral("fill_in"), {"root port", "root"}, {});
        typed.typed = QStringLiteral("rot");
        QVERIFY(review_detail_html(1, typed).contains(QStringLiteral("Your answer: <b>rot</b>")));
        QVERIFY(review_detail_html(1, typed).contains(QStringLiteral("root port</b> or <b>root")));
        // A catch-all of no credit: not listed as accepted, its feedback shown.
        typed.shown = bank_question(QStringLiteral("fill_in"), {"Root", "*"}, {});
        typed.shown.weighted = typed.shown.case_sensitive = true;
        typed.shown.weights[1] = 100;
        typed.shown.answer_feedback[2] = QStringLiteral("Think of <the> root.");
        const QString detail_typed = review_detail_html(1, typed);
        for (const char *part : {"Accepted: <b>Root</b> (case matters)", "<i>About your answer: Think of &lt;the&gt; root.</i>"})
            QVERIFY2(detail_typed.contains(QLatin1String(part)), part);
    }
};

QTEST_GUILESS_MAIN(StudyTest)
#include "test_study.moc"
