// Aiken: a question on one line or more, options "A)" or "A." (the space
// after is optional), then "ANSWER: B". Accepted beyond the format's own
// rules: several right answers ("ANSWER: A, C") and an "EXPLANATION:" line
// after the answer. The text is plain: nothing in it is markup.
#include "bank/formats/bank_text.h"
#include "bank/formats/format_parts.h"
#include "bank/formats/import_builder.h"

#include <optional>

namespace {

// "KEYWORD: rest" (any case, spaces allowed before the colon): the rest.
std::optional<QString> after_keyword(const QString &line, QLatin1String keyword)
{
    if (!line.startsWith(keyword, Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView rest = QStringView(line).mid(keyword.size()).trimmed();
    if (!rest.startsWith(QLatin1Char(':')))
        return std::nullopt;
    return rest.mid(1).trimmed().toString();
}

// The letter of an option line "B) text" or "B.text", or '\0'.
QChar option_letter(const QString &line)
{
    const bool option = line.size() >= 2 && line.at(0) >= QLatin1Char('A') && line.at(0) <= QLatin1Char('Z') &&
                        (line.at(1) == QLatin1Char(')') || line.at(1) == QLatin1Char('.'));
    return option ? line.at(0) : QChar();
}

// Reads one question at a time; skipping a broken one resumes at the next
// blank line.
class AikenReader {
public:
    explicit AikenReader(ImportedBank &bank) : bank_(bank) {}

    void line(int number, const QString &text)
    {
        if (text.isEmpty()) {
            if (stage_ == Stage::Options)
                fail(QStringLiteral("no ANSWER: line"));
            else if (stage_ == Stage::Answered)
                finish();
            broken_ = false;
            return;
        }
        if (broken_)
            return;
        if (stage_ == Stage::Answered) {
            if (const auto explanation = after_keyword(text, QLatin1String("EXPLANATION"));
                explanation && draft_.record.explanation.isEmpty()) {
                draft_.record.explanation = *explanation;
                return;
            }
            finish();
        }
        if (stage_ == Stage::None) {
            draft_ = DraftQuestion();
            draft_.line = number;
            stage_ = Stage::Question;
        }
        read(text);
    }

    void end()
    {
        if (stage_ == Stage::Answered)
            finish();
        else if (stage_ != Stage::None && !broken_)
            fail(QStringLiteral("no ANSWER: line"));
    }

private:
    enum class Stage { None, Question, Options, Answered };

    void read(const QString &text)
    {
        const QChar next = QLatin1Char(char('A' + draft_.answers.size()));
        if (draft_.answers.size() < 26 && option_letter(text) == next) {
            draft_.answers.push_back({text.mid(2).trimmed(), 0, {}});
            stage_ = Stage::Options;
        } else if (const auto answer = after_keyword(text, QLatin1String("ANSWER")); answer && stage_ == Stage::Options) {
            set_right(*answer);
        } else if (stage_ == Stage::Question) {
            draft_.record.question += (draft_.record.question.isEmpty() ? QString() : line_break()) + text.trimmed();
        } else {
            fail(QStringLiteral("expected option %1 or an ANSWER: line").arg(next));
        }
    }

    // "B", or the extension "A, C" (commas or spaces between the letters).
    void set_right(const QString &letters)
    {
        const QStringList parts = QString(letters).replace(QLatin1Char(','), QLatin1Char(' ')).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.isEmpty())
            return fail(QStringLiteral("ANSWER: names no letter"));
        for (const QString &part : parts) {
            const int k = part.size() == 1 ? part.at(0).toUpper().unicode() - 'A' : -1;
            if (k < 0 || k >= int(draft_.answers.size()))
                return fail(QStringLiteral("ANSWER: %1 names no option").arg(part));
            draft_.answers[size_t(k)].fraction = 100;
        }
        stage_ = Stage::Answered;
    }

    void finish()
    {
        add_question(bank_, std::move(draft_));
        stage_ = Stage::None;
    }

    void fail(const QString &why)
    {
        report(bank_, draft_.line, true, why);
        stage_ = Stage::None;
        broken_ = true;
    }

    ImportedBank &bank_;
    DraftQuestion draft_;
    Stage stage_ = Stage::None;
    bool broken_ = false;  // skipping to the next blank line
};

} // namespace

ImportedBank import_aiken(const QString &text)
{
    ImportedBank bank;
    AikenReader reader(bank);
    int number = 0;
    for (const QStringView line : text_lines(text))
        reader.line(++number, line.trimmed().toString());
    reader.end();
    return bank;
}

QByteArray export_aiken(const ImportedBank &bank)
{
    // Typed, matching and lab questions have no place in Aiken and are left out.
    QString out;
    const auto one_line = [](const QString &text) { return QString(text).replace(line_break(), QLatin1String(" ")).simplified(); };
    for (const question_record &record : bank.questions) {
        if (is_typed_question(record) || is_lab_question(record) || is_matching_question(record))
            continue;
        out += one_line(record.question) + QLatin1Char('\n');
        QStringList right;
        for (size_t k = 1; k <= max_answers && !record.answers[k].isEmpty(); ++k) {
            const QChar letter = QLatin1Char(char('A' + k - 1));
            out += letter + QLatin1String(". ") + one_line(record.answers[k]) + QLatin1Char('\n');
            if (record.correct[k] == 1)
                right << letter;
        }
        out += QLatin1String("ANSWER: ") + right.join(QLatin1String(", ")) + QLatin1Char('\n');
        if (!record.explanation.isEmpty())
            out += QLatin1String("EXPLANATION: ") + one_line(record.explanation) + QLatin1Char('\n');
        out += QLatin1Char('\n');
    }
    return out.toUtf8();
}
