// The scenario bank shipped with the program: what it must offer a student
// (exhibits, diagrams, typed answers, clues, several-right questions), files
// that all exist and read, and a clean lint.
#include "bank/formats/bank_formats.h"
#include "cli/bank_lint.h"
#include "cli/format_fit.h"
#include "lab/lab_definition.h"
#include "quiz/exhibit_file.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTest>

namespace {

QString bank_path() { return QStringLiteral(SCENARIO_BANK); }

int count_named(const std::array<QString, 4> &names)
{
    return int(std::count_if(names.begin() + 1, names.end(), [](const QString &n) { return !n.isEmpty(); }));
}

int right_answers(const question_record &record)
{
    return int(std::count(record.correct.begin() + 1, record.correct.end(), qint16(1)));
}

} // namespace

class TestScenarioBank : public QObject
{
    Q_OBJECT

    ImportedBank bank_;
    QString folder_;

private slots:
    void initTestCase()
    {
        bank_ = read_bank_file(bank_path());
        folder_ = QFileInfo(bank_path()).absolutePath();
        for (const BankProblem &problem : bank_.problems)
            qWarning("%d: %s", problem.line, qPrintable(problem.message));
        QVERIFY(bank_.problems.empty());
        QVERIFY(!bank_.title.isEmpty());
    }

    void offers_each_kind_of_question_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<std::function<bool(const question_record &)>>("kind");
        using Kind = std::function<bool(const question_record &)>;
        QTest::newRow("questions") << 60 << Kind([](const question_record &) { return true; });
        QTest::newRow("labs") << 12 << Kind([](const question_record &r) { return is_lab_question(r) && r.lab; });
        QTest::newRow("with exhibits") << 16 << Kind([](const question_record &r) { return count_named(r.exhibits) > 0; });
        QTest::newRow("with diagrams") << 12 << Kind([](const question_record &r) { return count_named(r.diagrams) > 0; });
        QTest::newRow("typed") << 8 << Kind([](const question_record &r) { return is_typed_question(r); });
        QTest::newRow("with clues") << 8 << Kind([](const question_record &r) { return !r.clue.isEmpty(); });
        QTest::newRow("several right") << 6
            << Kind([](const question_record &r) { return !is_typed_question(r) && right_answers(r) > 1; });
    }
    void offers_each_kind_of_question()
    {
        QFETCH(int, minimum);
        QFETCH(std::function<bool(const question_record &)>, kind);
        const auto count = std::count_if(bank_.questions.begin(), bank_.questions.end(), kind);
        QVERIFY2(count >= minimum, qPrintable(QString::number(count)));
    }

    void spreads_one_right_keys_over_the_letters()
    {
        std::array<int, 7> by_letter{};
        int one_right = 0;
        for (const question_record &record : bank_.questions) {
            if (is_typed_question(record) || right_answers(record) != 1)
                continue;
            ++one_right;
            ++by_letter[size_t(std::find(record.correct.begin() + 1, record.correct.end(), 1) - record.correct.begin())];
        }
        QVERIFY(one_right > 0);
        for (size_t p = 1; p <= 6; ++p)
            QVERIFY2(by_letter[p] * 100 <= one_right * 30, qPrintable(QStringLiteral("letter %1: %2 of %3")
                                                                      .arg(QChar(u'A' + int(p) - 1)).arg(by_letter[p]).arg(one_right)));
    }

    // And each diagram has its description.
    void every_exhibit_and_diagram_reads()
    {
        for (const question_record &record : bank_.questions) {
            for (size_t m = 1; m <= 3; ++m) {
                if (!record.exhibits[m].isEmpty()) {
                    const std::optional<QString> text = read_exhibit(record.exhibits[m], folder_);
                    QVERIFY2(text && !text->trimmed().isEmpty(), qPrintable(record.exhibits[m]));
                }
                if (!record.diagrams[m].isEmpty()) {
                    QImageReader reader(local_file_path(record.diagrams[m], folder_));
                    QVERIFY2(!reader.read().isNull(), qPrintable(record.diagrams[m]));
                }
                // A student who cannot see a diagram is told what it shows.
                if (record.diagrams[m].isEmpty() != record.diagram_descriptions[m].trimmed().isEmpty()) {
                    QFAIL(qPrintable(QStringLiteral("diagram %1 without its description, or the other way round: %2")
                                         .arg(m).arg(record.question.left(60))));
                }
            }
        }
    }

    // Written to the program's JSON and read back, each lab is the same lab.
    void labs_round_trip_through_json()
    {
        const ImportedBank back = import_bank(export_bank(bank_, BankFormat::Json), BankFormat::Json);
        QVERIFY(back.problems.empty());
        QCOMPARE(back.questions.size(), bank_.questions.size());
        for (size_t n = 0; n < back.questions.size(); ++n) {
            if (const auto &lab = bank_.questions[n].lab) {
                QVERIFY(back.questions[n].lab);
                QCOMPARE(write_lab(*back.questions[n].lab), write_lab(*lab));
                QCOMPARE(back.questions[n].lab->task, bank_.questions[n].question);
            }
        }
    }

    void lints_clean()
    {
        const std::vector<BankProblem> warnings = lint_bank(bank_, folder_);
        for (const BankProblem &warning : warnings)
            qWarning("%d: %s", warning.line, qPrintable(warning.message));
        QVERIFY(warnings.empty());
    }

    // Converted to GIFT or Moodle XML and read back, each question keeps its
    // exhibits (as text of the question), answer note and clue (GIFT: in the
    // explanation, with a warning) and diagrams (Moodle XML: embedded), and
    // the bank its title and author.
    void converts_without_losing_fields_data()
    {
        QTest::addColumn<BankFormat>("format");
        QTest::addColumn<int>("warnings");
        const auto count = [this](bool (*kind)(const question_record &)) {
            return int(std::count_if(bank_.questions.begin(), bank_.questions.end(), kind));
        };
        // A warning for each clue GIFT moves into the explanation and for each lab left out.
        const int labs = count(is_lab_question);
        QTest::newRow("gift") << BankFormat::Gift
                              << count([](const question_record &r) { return !r.clue.isEmpty() && !is_lab_question(r); }) + labs;
        QTest::newRow("moodle xml") << BankFormat::MoodleXml << labs;
    }
    void converts_without_losing_fields()
    {
        QFETCH(BankFormat, format);
        QFETCH(int, warnings);
        ImportedBank fitted = bank_;
        QCOMPARE(int(fit_to_format(fitted, format, folder_).size()), warnings);
        const ImportedBank back = import_bank(export_bank(fitted, format), format);
        QCOMPARE(back.title, bank_.title);
        QCOMPARE(back.author, bank_.author);
        // The labs come last in the bank, and only they are left out.
        QCOMPARE(fitted.questions.size(), bank_.questions.size() - 12);
        QCOMPARE(back.questions.size(), fitted.questions.size());
        for (size_t n = 0; n < back.questions.size(); ++n) {
            const question_record &before = bank_.questions[n], &after = back.questions[n];
            for (const QString &exhibit : before.exhibits) {
                if (!exhibit.isEmpty()) {
                    const QStringList lines = read_exhibit(exhibit, folder_)->trimmed().split(QStringLiteral("\r\n"));
                    QVERIFY2(after.question.contains(lines.join(QStringLiteral("\r\n"))), qPrintable(exhibit));
                }
            }
            QVERIFY(after.explanation.contains(before.answer_note));
            QVERIFY((format == BankFormat::Gift ? after.explanation : after.clue).contains(before.clue));
            if (format == BankFormat::MoodleXml)
                QCOMPARE(count_named(after.diagrams), count_named(before.diagrams));
        }
        if (format == BankFormat::MoodleXml)
            QVERIFY(!back.pictures.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestScenarioBank)
#include "test_scenario_bank.moc"
