// The question bank as the loaders fill it: the shape and statistics of the
// whole bank, the interleave into four quizzes, and loading bad data safely.
#include "bank/bank_loaders.h"
#include "bank/question_bank.h"
#include "bank/question_json.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

int answer_count(const question_record &record)
{
    int count = 0;
    while (count < 6 && !record.answers[size_t(count + 1)].isEmpty())
        ++count;
    return count;
}

bool has_outer_blanks(const QString &text)
{
    return text != text.trimmed();
}

} // namespace

class BankTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { fill_question_bank(bank); }

    void test_values()
    {
        QCOMPARE(bank.total_questions, qint16(204));
        QVERIFY(!bank.test_title.isEmpty());
        QVERIFY(bank.author_email.contains(QLatin1Char('@')));
        for (int i = 205; i < QuestionBank::capacity; ++i)
            QVERIFY(bank.at(i).question.isEmpty());
        QVERIFY(bank.at(0).question.isEmpty());
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, bank.at(1001));
    }

    void statistics()
    {
        QMap<int, int> by_answers, by_right;
        int explained = 0, multi_line = 0;
        QSet<QString> texts;
        for (int i = 1; i <= 204; ++i) {
            const question_record &r = bank.at(i);
            QCOMPARE(r.question_type, QStringLiteral("single_answer"));
            QVERIFY2(!r.question.isEmpty() && !has_outer_blanks(r.question), qPrintable(QString::number(i)));
            QVERIFY2(!texts.contains(r.question.toLower()), qPrintable(r.question));
            texts.insert(r.question.toLower());

            const int n = answer_count(r);
            ++by_answers[n];
            int right = 0;
            for (size_t p = 1; p <= 6; ++p) {
                // Answers fill 1..n without gaps, and no flag stands on an empty answer.
                QCOMPARE(r.answers[p].isEmpty(), int(p) > n);
                QVERIFY(!has_outer_blanks(r.answers[p]));
                QVERIFY(r.correct[p] == 0 || r.correct[p] == 1);
                QVERIFY(r.correct[p] == 0 || int(p) <= n);
                right += r.correct[p];
            }
            ++by_right[right];
            if (right > 1)
                QVERIFY2(r.question.endsWith(right == 2 ? QStringLiteral("(Choose two.)") : QStringLiteral("(Choose three.)")),
                         qPrintable(r.question));

            if (!r.explanation.isEmpty()) {
                ++explained;
                const QStringList lines = r.explanation.split(QStringLiteral("\r\n"));
                multi_line += lines.size() > 1;
                for (const QString &line : lines)
                    QVERIFY2(!line.isEmpty() && !has_outer_blanks(line) && !line.contains(QLatin1Char('\n'))
                                 && !line.contains(QLatin1Char('\r')),
                             qPrintable(r.explanation));
            }
            QVERIFY(r.clue.isEmpty() && r.answer_note.isEmpty() && r.reserved_text.isEmpty());
            for (size_t m = 1; m <= 3; ++m)
                QVERIFY(r.diagrams[m].isEmpty() && r.exhibits[m].isEmpty());
        }
        QCOMPARE(by_answers, (QMap<int, int>{{4, 73}, {5, 43}, {6, 88}}));
        QCOMPARE(by_right, (QMap<int, int>{{1, 190}, {2, 5}, {3, 9}}));
        QCOMPARE(explained, 82);
        QCOMPARE(multi_line, 73);
    }

    void right_answers_are_not_guessable_by_position()
    {
        QMap<int, int> position;
        int single = 0;
        for (int i = 1; i <= 204; ++i) {
            const question_record &r = bank.at(i);
            if (std::count(r.correct.begin(), r.correct.end(), 1) != 1)
                continue;
            ++single;
            ++position[int(std::find(r.correct.begin(), r.correct.end(), 1) - r.correct.begin())];
        }
        QCOMPARE(single, 190);
        for (auto it = position.cbegin(); it != position.cend(); ++it)
            QVERIFY2(it.value() * 100 <= single * 30, qPrintable(QStringLiteral("position %1 holds %2").arg(it.key()).arg(it.value())));
    }

    void quizzes_interleave()
    {
        QSet<int> reached;
        for (int quiz = 1; quiz <= 4; ++quiz) {
            for (int position = 1; position <= bank.total_questions / 4; ++position) {
                const int index = (position - 1) * 4 + quiz;
                QVERIFY(index >= 1 && index <= 204);
                QVERIFY(!bank.at(index).question.isEmpty());
                reached.insert(index);
            }
        }
        QCOMPARE(reached.size(), 204);
    }

    void every_question_has_a_known_topic()
    {
        const QSet<QString> topics{
            "Ethernet switching fundamentals", "VLANs and 802.1Q trunking", "Spanning tree (802.1D)", "RSTP and MSTP",
            "Spanning-tree protection", "Link aggregation (802.1AX/LACP)",
            "Inter-VLAN routing and multilayer switching", "First-hop redundancy (VRRP)", "Access security",
            "Management and monitoring", "QoS, PoE and multicast"};
        QSet<QString> seen;
        QSet<int> ids;
        for (int n = 1; n <= 5; ++n) {
            QFile file(QStringLiteral(":/bank/questions-%1.json").arg(n));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const QJsonValue &q : QJsonDocument::fromJson(file.readAll()).object().value("questions").toArray()) {
                QVERIFY2(topics.contains(q["topic"].toString()), qPrintable(q["topic"].toString()));
                seen.insert(q["topic"].toString());
                ids.insert(q["id"].toInt());
            }
        }
        QCOMPARE(seen, topics);
        QCOMPARE(ids.size(), 204);
    }

    void bad_data_is_skipped()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("questions.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"questions": [
            {"id": 3, "question": " Kept? ", "answers": ["a", "b", "c", "d"], "correct": [2], "explanation": ["x", "y"],
             "question_type": "fill_in", "clue": "a clue", "diagrams": ["d.png"], "diagram_descriptions": [" Two switches "],
             "exhibits": ["", "e.txt"]},
            {"id": 7, "question": "Description not a text", "answers": ["a", "b"], "correct": [1], "diagrams": ["d.png"],
             "diagram_descriptions": [7]},
            {"id": 8, "question": "Descriptions not a list", "answers": ["a", "b"], "correct": [1], "diagrams": ["d.png"],
             "diagram_descriptions": "Two switches"},
            {"id": 9, "question": "Out of range", "answers": ["a", "b", "c", "d"], "correct": [1]},
            {"id": 4, "question": "Flag on a missing answer", "answers": ["a", "b", "c", "d"], "correct": [5]},
            {"id": 5, "question": "Eleven answers", "answers": ["1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"], "correct": [1]},
            {"id": 6, "question": "", "answers": ["a", "b", "c", "d"], "correct": [1]}
        ]})");
        file.close();
        QuestionBank small;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("7 .* skipped: the diagram descriptions are not a list of texts"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("8 .* skipped: the diagram descriptions are not a list of texts"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("skipped"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("skipped"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("skipped"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("skipped"));
        QCOMPARE(load_question_file(small, path, 1, 8), 1);
        const question_record &kept = small.at(3);
        QCOMPARE(kept.question, QStringLiteral("Kept?"));
        QCOMPARE(kept.explanation, QStringLiteral("x\r\ny"));
        QCOMPARE(kept.correct[2], qint16(1));
        QVERIFY(is_typed_question(kept));
        QCOMPARE(kept.clue, QStringLiteral("a clue"));
        QCOMPARE(kept.diagrams[1], QStringLiteral("d.png"));
        QCOMPARE(kept.diagram_descriptions[1], QStringLiteral("Two switches"));
        QCOMPARE(write_question_json(kept).value("diagram_descriptions").toArray().first().toString(), QStringLiteral("Two switches"));
        QCOMPARE(kept.exhibits[2], QStringLiteral("e.txt"));
        QVERIFY(small.at(4).question.isEmpty() && small.at(5).question.isEmpty() && small.at(6).question.isEmpty());
        QVERIFY(small.at(7).question.isEmpty() && small.at(8).question.isEmpty());

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be read"));
        QCOMPARE(load_question_file(small, dir.filePath("missing.json"), 1, 8), 0);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{ not json");
        file.close();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not valid"));
        QCOMPARE(load_question_file(small, path, 1, 8), 0);
    }

private:
    QuestionBank bank;
};

QTEST_GUILESS_MAIN(BankTest)
#include "test_bank.moc"
