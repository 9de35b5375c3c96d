// The quiz logic without windows: centring arithmetic, quiz size and
// interleave, question order and answer shuffles, the random generator,
// marking, score, percentage, gauge and the texts shown to the student.
#include "quiz/centering_position.h"
#include "harness/matching_sample.h"
#include "quiz/marking.h"
#include "quiz/matching_marking.h"
#include "quiz/review_text.h"
#include "quiz/numerical_marking.h"
#include "quiz/question_order.h"
#include "quiz/question_presentation.h"
#include "quiz/quiz_state.h"
#include "quiz/quiz_texts.h"
#include "quiz/random_generator.h"

#include <QSet>
#include <QTest>
#include <numeric>
#include <algorithm>

namespace {

question_record choice_question(int answers, std::initializer_list<int> right)
{
    question_record record;
    record.question = QStringLiteral("Which?");
    record.question_type = QStringLiteral("single_answer");
    for (int p = 1; p <= answers; ++p)
        record.answers[size_t(p)] = QStringLiteral("answer %1").arg(p);
    for (int p : right)
        record.correct[size_t(p)] = 1;
    return record;
}

ChoiceAnswer pressed(int visible, std::initializer_list<int> keys)
{
    ChoiceAnswer answer;
    for (int p = 1; p <= visible; ++p)
        answer.visible[size_t(p)] = true;
    for (int p : keys)
        answer.pressed[size_t(p)] = true;
    return answer;
}

} // namespace

class QuizLogicTest : public QObject
{
    Q_OBJECT

private slots:
    void centring_data()
    {
        QTest::addColumn<QSizeF>("screen");
        QTest::addColumn<QSizeF>("window");
        QTest::addColumn<float>("x_offset");
        QTest::addColumn<float>("y_offset");
        QTest::addColumn<QPointF>("expected");
        QTest::newRow("no offsets") << QSizeF(12000, 9000) << QSizeF(9000, 6000) << 0.f << 0.f << QPointF(1500, 1500);
        QTest::newRow("x offset moves left") << QSizeF(12000, 9000) << QSizeF(9000, 6000) << 300.f << 0.f << QPointF(1200, 1500);
        QTest::newRow("y offset moves up") << QSizeF(12000, 9000) << QSizeF(9000, 6000) << 0.f << 100.f << QPointF(1500, 1400);
        QTest::newRow("odd difference keeps its half") << QSizeF(800, 600) << QSizeF(613, 403) << 0.f << 0.f << QPointF(93.5, 98.5);
        QTest::newRow("larger than the screen") << QSizeF(800, 600) << QSizeF(1000, 700) << 0.f << 0.f << QPointF(-100, -50);
    }
    void centring()
    {
        QFETCH(QSizeF, screen);
        QFETCH(QSizeF, window);
        QFETCH(float, x_offset);
        QFETCH(float, y_offset);
        QFETCH(QPointF, expected);
        QCOMPARE(centered_position(screen, window, x_offset, y_offset), expected);
    }

    void quiz_size_and_interleave_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<QList<int>>("sizes");  // of quizzes 1 to 4
        QTest::newRow("built-in bank") << 204 << QList<int>{51, 51, 51, 51};
        QTest::newRow("one over") << 205 << QList<int>{52, 51, 51, 51};
        QTest::newRow("one short") << 203 << QList<int>{51, 51, 51, 50};
        QTest::newRow("six") << 6 << QList<int>{2, 2, 1, 1};
        QTest::newRow("four") << 4 << QList<int>{1, 1, 1, 1};
        // A bank too small to split: every quiz asks all of it.
        QTest::newRow("three") << 3 << QList<int>{3, 3, 3, 3};
        QTest::newRow("none") << 0 << QList<int>{0, 0, 0, 0};
    }
    void quiz_size_and_interleave()
    {
        QFETCH(int, total);
        QFETCH(QList<int>, sizes);
        // Position p of quiz k is bank question (p - 1) * 4 + k; over the
        // four quizzes every bank question is asked exactly once.
        QList<int> seen;
        for (qint16 quiz = 1; quiz <= 4; ++quiz) {
            const std::vector<qint16> questions = quiz_bank_questions(quiz, qint16(total));
            QCOMPARE(int(questions_in_quiz(quiz, qint16(total))), sizes[quiz - 1]);
            QCOMPARE(int(questions.size()) - 1, sizes[quiz - 1]);
            for (qint16 p = 1; p < qint16(questions.size()); ++p) {
                QCOMPARE(questions[size_t(p)], total < 4 ? p : bank_index(p, quiz));
                if (total >= 4 || quiz == 1)
                    seen << questions[size_t(p)];
            }
        }
        std::sort(seen.begin(), seen.end());
        QList<int> every(total);
        std::iota(every.begin(), every.end(), 1);
        QCOMPARE(seen, every);
    }

    void unshuffled_order()
    {
        QuizState state;
        state.questions_per_quiz = 51;
        state.question_order.assign(300, 777);
        RandomGenerator random;
        build_question_order(state, random);
        QCOMPARE(state.question_order.size(), size_t(52));
        for (qint16 i = 0; i <= 51; ++i)
            QCOMPARE(state.question_order[size_t(i)], i);
        // Quiz 3 in bank order asks 3, 7, 11, ... 203.
        const std::vector<qint16> questions = quiz_bank_questions(3, 204);
        QCOMPARE(questions.size(), size_t(52));
        QCOMPARE(questions[1], qint16(3));
        QCOMPARE(questions[2], qint16(7));
        QCOMPARE(questions[51], qint16(203));
    }

    void quiz_of_given_questions()
    {
        QuizState state;
        set_quiz_questions(state, {17, 5, 204});
        QCOMPARE(state.questions_per_quiz, qint16(3));
        RandomGenerator random;
        build_question_order(state, random);
        QCOMPARE(state.question_order, (std::vector<qint16>{0, 1, 2, 3}));
        QCOMPARE(state.quiz_questions[size_t(state.question_order[3])], qint16(204));
        set_quiz_questions(state, {});
        QCOMPARE(state.questions_per_quiz, qint16(0));
    }

    void shuffled_order_is_a_permutation()
    {
        for (quint32 seed : {1u, 2u, 99u, 12345u}) {
            QuizState state;
            state.questions_per_quiz = 51;
            state.random_question_order = 1;
            RandomGenerator random(seed);
            build_question_order(state, random);
            std::vector<qint16> order(state.question_order.begin() + 1, state.question_order.begin() + 52);
            const std::vector<qint16> unshuffled = [] { std::vector<qint16> v(51); std::iota(v.begin(), v.end(), qint16(1)); return v; }();
            QVERIFY(order != unshuffled);
            std::sort(order.begin(), order.end());
            QCOMPARE(order, unshuffled);
            QCOMPARE(state.question_order.size(), size_t(52));
            QCOMPARE(state.question_order[0], qint16(0));
        }
    }

    void random_draws_stay_in_range()
    {
        RandomGenerator random(7);
        for (int i = 0; i < 200000; ++i) {
            const float r = random.next_single();
            QVERIFY(r >= 0.0f && r < 1.0f);
            const qint16 p = random.next_position(51);
            QVERIFY(p >= 1 && p <= 51);
        }
        // Reseeding twice in a row still gives different sequences.
        RandomGenerator a, b;
        a.reseed_from_clock();
        b.reseed_from_clock();
        QVERIFY(a.next_single() != b.next_single() || a.next_single() != b.next_single());
    }

    void answer_shuffle_keeps_flags_with_answers()
    {
        const question_record bank = choice_question(4, {2, 4});
        RandomGenerator random(3);
        bool moved = false;
        for (int round = 0; round < 50; ++round) {
            const PresentedQuestion shown = present_question(bank, true, random);
            QCOMPARE(shown.answer_count, qint16(4));
            QSet<qint16> numbers;
            for (size_t p = 1; p <= 6; ++p) {
                const size_t from = size_t(shown.display_order[p]);
                QCOMPARE(shown.record.answers[p], bank.answers[from]);
                QCOMPARE(shown.record.correct[p], bank.correct[from]);
                numbers.insert(shown.display_order[p]);
                if (p > 4)
                    QCOMPARE(shown.display_order[p], qint16(p));  // empty positions stay put
                else if (shown.display_order[p] != qint16(p))
                    moved = true;
            }
            QCOMPARE(numbers.size(), 6);
        }
        QVERIFY(moved);

        const PresentedQuestion in_order = present_question(bank, false, random);
        for (size_t p = 1; p <= 6; ++p) {
            QCOMPARE(in_order.record.answers[p], bank.answers[p]);
            QCOMPARE(in_order.record.correct[p], bank.correct[p]);
        }
        question_record three = choice_question(3, {1});
        three.answers[2] = QStringLiteral("   ");  // blank answers do not count
        QCOMPARE(present_question(three, false, random).answer_count, qint16(2));
    }

    void choice_marking()
    {
        const question_record two_right = choice_question(5, {2, 4});
        QVERIFY(choice_is_right(two_right, pressed(5, {2, 4})));
        QVERIFY(!choice_is_right(two_right, pressed(5, {2})));
        QVERIFY(!choice_is_right(two_right, pressed(5, {2, 4, 1})));
        QVERIFY(!choice_is_right(two_right, pressed(5, {})));
        // Any one of the right answers: one of them alone is right.
        question_record either = two_right;
        either.question_type = any_one_right_type();
        QVERIFY(choice_is_right(either, pressed(5, {2})));
        QVERIFY(choice_is_right(either, pressed(5, {4})));
        QVERIFY(!choice_is_right(either, pressed(5, {2, 4})));
        QVERIFY(!choice_is_right(either, pressed(5, {1})));
        QVERIFY(feedback_text(either, true, pressed(5, {}).visible).startsWith(QStringLiteral("Great Job.\r\nThe answer(s):  B or D\r\n")));
        // Hidden positions are not looked at, pressed or not.
        question_record hidden_flag = choice_question(3, {1});
        hidden_flag.correct[5] = 1;
        ChoiceAnswer answer = pressed(3, {1});
        answer.pressed[6] = true;
        QVERIFY(choice_is_right(hidden_flag, answer));
    }

    void typed_marking_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("right");
        QTest::newRow("exact") << "Trunk" << true;
        QTest::newRow("other case") << "tRUNK" << true;
        QTest::newRow("surrounding spaces") << "   trunk  " << true;
        QTest::newRow("trailing line break") << "trunk\r\n" << true;
        QTest::newRow("tab and newline") << "\ttrunk\n" << true;
        QTest::newRow("second accepted form") << "802.1q" << true;
        QTest::newRow("inner space") << "tru nk" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << "   " << false;
        QTest::newRow("other word") << "access" << false;
    }
    void typed_marking()
    {
        QFETCH(QString, typed);
        QFETCH(bool, right);
        question_record record;
        record.question_type = QStringLiteral("FILL_IN");
        record.answers[1] = QStringLiteral("trunk");
        record.answers[3] = QStringLiteral("802.1Q");
        QCOMPARE(typed_is_right(record, typed), right);
    }

    // The 802.1D port states paired with the RSTP state each becomes: the
    // offer is Discarding (slot 0), Flooding (4), Forwarding (3), Learning (2).
    void matching_marking_data()
    {
        QTest::addColumn<MatchingAnswer>("matched");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("every pair") << MatchingAnswer{0, 0, 2, 3} << true << "";
        QTest::newRow("a shared meaning from the other slot") << MatchingAnswer{1, 0, 2, 3} << true << "";
        QTest::newRow("the distractor") << MatchingAnswer{0, 0, 2, 4} << false
                                        << "Partial credit: 75% (3 of 4 pairs right).";
        QTest::newRow("none given") << MatchingAnswer{-1, -1, -1, -1} << false << "";
        QTest::newRow("fewer than the stems") << MatchingAnswer{0} << false << "Partial credit: 25% (1 of 4 pairs right).";
        QTest::newRow("no such slot") << MatchingAnswer{99, 7, 2, 3} << false << "Partial credit: 50% (2 of 4 pairs right).";
    }
    void matching_marking()
    {
        QFETCH(MatchingAnswer, matched);
        QFETCH(bool, right);
        QFETCH(QString, outcome);
        const question_record record = port_states_matching();
        QCOMPARE(matching_offer(record), (std::vector<int>{0, 4, 3, 2}));
        LoggedAnswer answer;
        answer.shown = record;
        answer.matched = matched;
        mark(answer);
        QCOMPARE(answer.right, right);
        QCOMPARE(outcome_lines(answer).join(QLatin1Char('|')), outcome);
        QVERIFY(feedback_text(answer).contains(QStringLiteral("\r\nListening  ->  Discarding\r\n")));
        const QString review = review_detail_html(1, answer);
        QCOMPARE(review.count(QStringLiteral("&#x2714; right")), right_pairs(record, matched));
        QCOMPARE(review.contains(QStringLiteral("right: <b>Forwarding</b>")), matched.size() < 4 || matched[3] != 3);

        // Shuffled, each stem keeps its meaning and the distractor its place.
        RandomGenerator random(11);
        const question_record shown = present_question(record, true, random).record;
        for (size_t k = 1; k <= 4; ++k) {
            const auto stem = std::find(record.answers.begin(), record.answers.end(), shown.answers[k]);
            QCOMPARE(shown.matches[k], record.matches[size_t(stem - record.answers.begin())]);
        }
        QCOMPARE(shown.matches[5], QStringLiteral("Flooding"));
    }

    // Answers in order: 3.14 within 0.01 (right), 3 exactly (wrong, with
    // its feedback), then anything else; units m and km.
    void numerical_marking_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("match");
        QTest::newRow("exact") << "3.14" << 1;
        QTest::newRow("at the tolerance") << "3.15" << 1;
        QTest::newRow("below it") << "3.13" << 1;
        QTest::newRow("just outside") << "3.1501" << 3;
        QTest::newRow("decimal comma") << "3,14" << 1;
        QTest::newRow("exponent") << "314e-2" << 1;
        QTest::newRow("spaces") << "  3.14 \n" << 1;
        QTest::newRow("second value") << "3" << 2;
        QTest::newRow("unit m") << "3.14 m" << 1;
        QTest::newRow("unit km") << "0.00314km" << 1;
        QTest::newRow("unknown unit") << "3.14 cm" << 0;
        QTest::newRow("unit case") << "3.14 M" << 0;
        QTest::newRow("text") << "pi" << 0;
        QTest::newRow("blank") << "  " << 0;
        QTest::newRow("two numbers") << "3.14 3" << 0;
    }
    void numerical_marking()
    {
        QFETCH(QString, typed);
        QFETCH(int, match);
        question_record record;
        record.question_type = numerical_type();
        record.answers[1] = QStringLiteral("3.14");
        record.tolerances[1] = 0.01;
        record.weighted = true;
        record.weights[1] = 100;
        record.answers[2] = QStringLiteral("3");
        record.answers[3] = QStringLiteral("*");
        record.units = {{QStringLiteral("m"), 1}, {QStringLiteral("km"), 0.001}};
        record.answer_feedback[2] = QStringLiteral("Three is pi rounded.");
        QCOMPARE(int(numerical_match(record, typed)), match);
        LoggedAnswer answer;
        answer.shown = record;
        answer.typed = typed;
        mark(answer);
        QCOMPARE(answer.right, match == 1);
        QCOMPARE(outcome_lines(answer).join(QLatin1Char('|')),
                 match == 2 ? QStringLiteral("About your answer: Three is pi rounded.") : QString());
        QVERIFY(feedback_text(answer).section(QStringLiteral("\r\n"), 1, 1).endsWith(QStringLiteral(" 3.14 \u00b1 0.01 m")));
    }

    // Typed answers as the learning platforms mark them: patterns with "*",
    // case when the question says so, the first match in order giving the
    // credit and the feedback shown.
    void typed_rules_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("case_matters");
        QTest::addColumn<int>("match");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("exact, with feedback") << "string" << false << 1 << true << "About your answer: Right.";
        QTest::newRow("other case") << "STRING" << false << 1 << true << "About your answer: Right.";
        QTest::newRow("case matters: catch-all") << "String" << true << 6 << false << "About your answer: Think of C++ types.";
        QTest::newRow("star matches nothing") << "Function" << false << 3 << true << "";
        QTest::newRow("star matches a run") << " function pointer " << false << 3 << true << "";
        QTest::newRow("star in the middle, case") << "FUNCTION" << true << 6 << false << "About your answer: Think of C++ types.";
        QTest::newRow("escaped star") << "a*b" << false << 4 << true << "";
        QTest::newRow("escaped star is no wildcard") << "axb" << false << 6 << false << "About your answer: Think of C++ types.";
        QTest::newRow("partial credit") << "Ethernet" << false << 5 << false
                                        << "About your answer: Close: name the type.|Partial credit: 75%.";
        QTest::newRow("stars around a run") << "internet" << false << 5 << false
                                            << "About your answer: Close: name the type.|Partial credit: 75%.";
        QTest::newRow("run must fit at the end") << "netx" << false << 5 << false
                                                 << "About your answer: Close: name the type.|Partial credit: 75%.";
        QTest::newRow("overlapping ends") << "ab" << true << 6 << false << "About your answer: Think of C++ types.";
    }
    void typed_rules()
    {
        QFETCH(QString, typed);
        QFETCH(bool, case_matters);
        QFETCH(int, match);
        QFETCH(bool, right);
        QFETCH(QString, outcome);
        LoggedAnswer answer;
        question_record &record = answer.shown;
        record.question_type = QStringLiteral("FILL_IN");
        record.case_sensitive = case_matters;
        record.weighted = true;
        const std::array<std::pair<const char *, double>, 6> answers{
            {{"string", 100}, {"std::string", 100}, {"Function*", 100}, {"a\\*b", 100}, {"*net*", 75}, {"*", 0}}};
        for (size_t k = 0; k < answers.size(); ++k)
            record.answers[k + 1] = QString::fromLatin1(answers[k].first), record.weights[k + 1] = answers[k].second;
        record.answer_feedback[1] = QStringLiteral("Right.");
        record.answer_feedback[5] = QStringLiteral("Close: name the type.");
        record.answer_feedback[6] = QStringLiteral("Think of C++ types.");
        answer.typed = typed;
        mark(answer);
        QCOMPARE(int(typed_match(record, typed)), match);
        QCOMPARE(answer.right, right);
        QCOMPARE(outcome_lines(answer).join(QLatin1Char('|')), outcome);
    }

    // The credit a choice earns, shown when the question has weights.
    void choice_credit_data()
    {
        QTest::addColumn<QString>("weights");  // "" = none
        QTest::addColumn<QList<int>>("right");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("one right, partial") << "100|33.33333|0" << QList<int>{1} << QList<int>{2} << "Partial credit: 33.33%.";
        QTest::newRow("one right, two pressed") << "100|33.33333|0" << QList<int>{1} << QList<int>{1, 2} << "";
        QTest::newRow("one right, right") << "100|33.33333|0" << QList<int>{1} << QList<int>{1} << "";
        QTest::newRow("several, one of two") << "50|50|-25|0" << QList<int>{1, 2} << QList<int>{1} << "Partial credit: 50%.";
        QTest::newRow("several, less a wrong one") << "50|50|-25|0" << QList<int>{1, 2} << QList<int>{1, 3}
                                                   << "Partial credit: 25%.";
        QTest::newRow("several, below nothing") << "50|50|-25|0" << QList<int>{1, 2} << QList<int>{3} << "";
        QTest::newRow("several, weightless") << "" << QList<int>{1, 2} << QList<int>{1} << "";
    }
    void choice_credit()
    {
        QFETCH(QString, weights);
        QFETCH(QList<int>, right);
        QFETCH(QList<int>, keys);
        QFETCH(QString, outcome);
        LoggedAnswer answer;
        answer.shown = choice_question(4, {});
        for (int p : right)
            answer.shown.correct[size_t(p)] = 1;
        const QStringList given = weights.split(QLatin1Char('|'), Qt::SkipEmptyParts);
        answer.shown.weighted = !given.isEmpty();
        for (int k = 0; k < given.size(); ++k)
            answer.shown.weights[size_t(k + 1)] = given.at(k).toDouble();
        for (int p = 1; p <= 4; ++p)
            answer.choice.visible[size_t(p)] = true;
        for (int p : keys)
            answer.choice.pressed[size_t(p)] = true;
        mark(answer);
        QCOMPARE(outcome_lines(answer).join(QLatin1Char('|')), outcome);
        // The answer window gives it on the line after the right answers.
        const QString window = feedback_text(answer);
        QCOMPARE(window.section(QStringLiteral("\r\n"), 2, 2), outcome.isEmpty() ? QString() : outcome);
    }

    void score_and_percent()
    {
        QCOMPARE(score_text(9, 18), QStringLiteral("9/18"));
        QCOMPARE(percent_text(1, 3), QStringLiteral("33%"));
        QCOMPARE(percent_text(2, 3), QStringLiteral("66%"));
        QCOMPARE(percent_text(29, 50), QStringLiteral("58%"));
        QCOMPARE(percent_text(51, 51), QStringLiteral("100%"));
        QCOMPARE(percent_right(0, 0), 0);
        // Exact integer floors for every score of every quiz length.
        for (int total = 1; total <= 200; ++total)
            for (int right = 0; right <= total; ++right)
                QVERIFY(percent_right(right, total) * total <= right * 100
                        && (percent_right(right, total) + 1) * total > right * 100);
    }

    void gauge()
    {
        QCOMPARE(gauge_cover(5, 5, 121).visible, false);
        const GaugeCover half = gauge_cover(1, 2, 120);
        QVERIFY(half.visible);
        QCOMPARE(half.height, 60);
        const GaugeCover none_right = gauge_cover(0, 3, 121);
        QCOMPARE(none_right.height, 121);
        // One wrong answer in a hundred still shows on a tall gauge but not a short one.
        QVERIFY(gauge_cover(99, 100, 200).visible);
        QVERIFY(!gauge_cover(99, 100, 100).visible);
    }

    void feedback()
    {
        question_record record = choice_question(4, {2, 4});
        record.explanation = QStringLiteral("Line one.\r\nLine two.");
        AnswerFlags visible{false, true, true, true, true};
        QCOMPARE(feedback_text(record, true, visible),
                 QStringLiteral("Great Job.\r\nThe answer(s):  B D\r\n\r\nWhich?"
                                "\r\nA.)  answer 1\r\nB.)  answer 2\r\nC.)  answer 3\r\nD.)  answer 4"
                                "\r\n\r\nLine one.\r\nLine two.\r\n"));
        // Hidden positions are not listed.
        visible[3] = false;
        const QString wrong = feedback_text(record, false, visible);
        QVERIFY(wrong.startsWith(QStringLiteral("Incorrect.\r\nThe correct answer(s):  B D\r\n")));
        QVERIFY(!wrong.contains(QStringLiteral("C.)")));
        QVERIFY(wrong.contains(QStringLiteral("D.)  answer 4")));

        question_record typed;
        typed.question = QStringLiteral("Name the port state.");
        typed.question_type = QStringLiteral("fill");
        typed.answers[1] = QStringLiteral("forwarding");
        typed.answer_note = QStringLiteral("Note.");
        QCOMPARE(feedback_text(typed, false, visible),
                 QStringLiteral("Incorrect.\r\nThe correct answer(s): forwarding\r\n\r\nName the port state.\r\n\r\n\r\nNote."));
    }

    void report()
    {
        QCOMPARE(report_text(51, 51),
                 QStringLiteral("You have completed the test\n\n Right/Total  = 51/51\nPercent Right = 100%\n\n"
                                "Congratulations, try a different test"));
        QCOMPARE(report_text(50, 51),
                 QStringLiteral("You have completed the test\n\n Right/Total  = 50/51\nPercent Right = 98%\n\n"
                                "Take this test until you get 100%"));
        QVERIFY(report_text(3, 51).contains(QStringLiteral(" Right/Total  = 3/51\nPercent Right = 5%\n")));
        QCOMPARE(report_title, QStringLiteral("Test Complete!"));
    }
};

QTEST_GUILESS_MAIN(QuizLogicTest)
#include "test_quiz_logic.moc"
