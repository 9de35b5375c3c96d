#include "cli/bank_lint.h"

#include "quiz/exhibit_file.h"
#include "bank/question_bank.h"
#include "lab/lab_definition.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QRegularExpression>
#include <array>
#include <cmath>

namespace {

// One-right questions whose right answers sit on one letter more often than
// this share, once there are enough of them to tell, teach the letter.
constexpr int kBunchedAtLeast = 20;
constexpr int kBunchedPercent = 40;

class Linter
{
public:
    Linter(const ImportedBank &bank, const QString &folder) : bank_(bank), folder_(folder) {}

    std::vector<BankProblem> run()
    {
        if (bank_.questions.size() > size_t(QuestionBank::max_questions))
            warn(0, QStringLiteral("%1 questions: the program opens at most %2 from one bank")
                        .arg(bank_.questions.size())
                        .arg(QuestionBank::max_questions));
        QHash<QString, int> first_seen;
        for (size_t i = 0; i < bank_.questions.size(); ++i) {
            const question_record &record = bank_.questions[i];
            const int line = i < bank_.question_lines.size() ? bank_.question_lines[i] : 0;
            const QString text = record.question.simplified().toCaseFolded();
            if (const auto seen = first_seen.constFind(text); seen != first_seen.cend())
                warn(line, QStringLiteral("the same question text as the question at line %1").arg(*seen));
            else
                first_seen.insert(text, line);
            check_files(record, line);
            if (is_lab_question(record))
                check_lab(record, line);
            else if (is_typed_question(record))
                check_typed(record, line);
            else if (is_matching_question(record))
                check_stems(record, line);
            else
                check_choices(record, line);
            if (is_numerical_question(record))
                check_tolerances(record, line);
        }
        check_bunched_letters();
        return std::move(problems_);
    }

private:
    void warn(int line, const QString &message) { problems_.push_back({line, false, message}); }

    void check_files(const question_record &record, int line)
    {
        for (size_t m = 1; m <= 3; ++m) {
            const QString &exhibit = record.exhibits[m];
            if (!exhibit.isEmpty() && !is_readable_file(exhibit, folder_))
                warn(line, QStringLiteral("exhibit file \"%1\" does not exist beside the bank").arg(exhibit));
            const QString &diagram = record.diagrams[m];
            if (diagram.isEmpty())
                continue;
            if (!bank_.pictures.contains(diagram) && !is_readable_file(diagram, folder_))
                warn(line, QStringLiteral("diagram file \"%1\" does not exist beside the bank").arg(diagram));
            else if (!decodes(diagram))
                warn(line, QStringLiteral("diagram \"%1\" cannot be read as a picture").arg(diagram));
        }
    }

    // Whether the diagram, embedded or beside the bank, reads as a picture
    // (as the diagram window reads it); each name looked at once.
    bool decodes(const QString &diagram)
    {
        if (const auto known = decodes_.constFind(diagram); known != decodes_.cend())
            return *known;
        QBuffer embedded;
        QFile file(local_file_path(diagram, folder_));
        QIODevice *device = &file;
        if (bank_.pictures.contains(diagram)) {
            embedded.setData(bank_.pictures.value(diagram));
            device = &embedded;
        }
        QImageReader reader(device);
        reader.setAllocationLimit(256);
        const bool readable = device->open(QIODevice::ReadOnly) && !reader.read().isNull();
        decodes_.insert(diagram, readable);
        return readable;
    }

    void check_lab(const question_record &record, int line)
    {
        for (const QString &problem : prove_lab(*record.lab))
            warn(line, QStringLiteral("lab: %1").arg(problem));
    }

    // A pattern of stars alone matches whatever is typed, nothing included:
    // at full credit every answer is right.
    void check_typed(const question_record &record, int line)
    {
        for (size_t p = 1; p <= max_answers; ++p) {
            const QString pattern = record.answers[p].trimmed();
            if (!pattern.isEmpty() && pattern.count(QLatin1Char('*')) == pattern.size() &&
                answer_weight(record, p) >= full_credit)
                warn(line, QStringLiteral("typed answer %1 is \"%2\" at full credit: it accepts any answer")
                               .arg(p)
                               .arg(pattern));
        }
    }

    // Two stems that read the same but pair with different meanings cannot
    // be told apart: one of them is always marked wrong.
    void check_stems(const question_record &record, int line)
    {
        QHash<QString, size_t> seen;
        for (size_t k = 1; k <= max_answers && !record.answers[k].isEmpty(); ++k) {
            const QString stem = record.answers[k].simplified().toCaseFolded();
            if (const auto first = seen.constFind(stem); first != seen.cend() && record.matches[*first] != record.matches[k])
                warn(line, QStringLiteral("stems %1 and %2 read the same (\"%3\") but pair with different meanings")
                               .arg(*first).arg(k).arg(record.answers[k]));
            else
                seen.insert(stem, k);
        }
    }

    void check_choices(const question_record &record, int line)
    {
        int right = 0;
        int right_position = 0;
        for (size_t p = 1; p <= max_answers; ++p) {
            if (record.correct[p] == 1) {
                ++right;
                right_position = int(p);
            }
            if (record.answers[p].size() > answer_box_characters)
                warn(line, QStringLiteral("answer %1 has %2 characters; the answer box shows about %3")
                               .arg(QChar(char16_t(u'A' + p - 1)))
                               .arg(record.answers[p].size())
                               .arg(answer_box_characters));
        }
        if (right == 1)
            ++one_right_at_[size_t(right_position)];

        static const QRegularExpression choose(
            QStringLiteral("\\b(?:choose|select|pick)\\s+(two|three|four|five|2|3|4|5)\\b"),
            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = choose.match(record.question);
        if (!match.hasMatch())
            return;
        static const QStringList words = {QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("four"),
                                          QStringLiteral("five")};
        const QString count = match.captured(1).toLower();
        const int asked = count.at(0).isDigit() ? count.toInt() : int(words.indexOf(count)) + 2;
        if (asked != right)
            warn(line, QStringLiteral("\"%1\" but the number of right answers is %2").arg(match.captured(0)).arg(right));
    }

    // A value with decimals and no tolerance is right only when typed to
    // its last digit, which is rarely meant; a whole number (a count, a
    // number of bits) usually is.
    void check_tolerances(const question_record &record, int line)
    {
        for (size_t k = 1; k <= max_answers && !record.answers[k].isEmpty(); ++k) {
            const double value = record.answers[k].toDouble();
            if (answer_weight(record, k) >= full_credit && record.tolerances[k] == 0 && value != std::floor(value))
                warn(line, QStringLiteral("answer %1 (%2) has no tolerance: only exactly %2 is right")
                               .arg(k).arg(record.answers[k]));
        }
    }

    void check_bunched_letters()
    {
        int total = 0;
        for (int count : one_right_at_)
            total += count;
        if (total < kBunchedAtLeast)
            return;
        for (size_t p = 1; p <= max_answers; ++p) {
            if (one_right_at_[p] * 100 > total * kBunchedPercent)
                warn(0, QStringLiteral("%1 of the %2 questions with one right answer have it at %3 (%4%): "
                                       "students learn the letter instead of the answer")
                            .arg(one_right_at_[p])
                            .arg(total)
                            .arg(QChar(char16_t(u'A' + p - 1)))
                            .arg(one_right_at_[p] * 100 / total));
        }
    }

    const ImportedBank &bank_;
    const QString folder_;
    QHash<QString, bool> decodes_;
    std::array<int, max_answers + 1> one_right_at_{};
    std::vector<BankProblem> problems_;
};

} // namespace

std::vector<BankProblem> lint_bank(const ImportedBank &bank, const QString &folder)
{
    return Linter(bank, folder).run();
}
