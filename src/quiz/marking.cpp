#include "quiz/marking.h"

#include <algorithm>
#include <cmath>

bool choice_is_right(const question_record &record, const ChoiceAnswer &answer)
{
    if (is_any_one_right(record)) {
        int pressed = 0, right = 0;
        for (size_t p = 1; p <= 6; ++p) {
            pressed += answer.visible[p] && answer.pressed[p];
            right += answer.visible[p] && answer.pressed[p] && record.correct[p] == 1;
        }
        return pressed == 1 && right == 1;
    }
    for (size_t p = 1; p <= 6; ++p) {
        if (answer.visible[p] && (record.correct[p] == 1) != answer.pressed[p])
            return false;
    }
    return true;
}

namespace {

// The next literal run of a pattern from at, "\*" read as a star; at is
// left on the star that ends it, or at the pattern's end.
QString literal_run(QStringView pattern, qsizetype &at)
{
    QString run;
    for (; at < pattern.size() && pattern.at(at) != QLatin1Char('*'); ++at) {
        if (pattern.at(at) == QLatin1Char('\\') && at + 1 < pattern.size() && pattern.at(at + 1) == QLatin1Char('*'))
            ++at;
        run += pattern.at(at);
    }
    return run;
}

} // namespace

bool fits_pattern(QStringView pattern, QStringView text, Qt::CaseSensitivity cs)
{
    qsizetype at = 0;
    const QString head = literal_run(pattern, at);
    if (at == pattern.size())
        return text.compare(head, cs) == 0;
    if (!text.startsWith(head, cs))
        return false;
    // Each run between stars is taken at its first place left; the last one
    // must end the text. Linear in the text for each run, never backtracking.
    qsizetype from = head.size();
    while (at < pattern.size()) {
        ++at;  // the star
        const QString run = literal_run(pattern, at);
        if (at == pattern.size())
            return text.size() - from >= run.size() && text.endsWith(run, cs);
        const qsizetype found = run.isEmpty() ? from : text.indexOf(run, from, cs);
        if (found < 0)
            return false;
        from = found + run.size();
    }
    return true;
}

size_t typed_match(const question_record &record, const QString &typed)
{
    const QString entry = typed.trimmed();
    const Qt::CaseSensitivity cs = record.case_sensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (size_t p = 1; p <= max_answers; ++p) {
        const QString pattern = record.answers[p].trimmed();
        if (!pattern.isEmpty() && fits_pattern(pattern, entry, cs))
            return p;
    }
    return 0;
}

bool typed_is_right(const question_record &record, const QString &typed)
{
    return typed_credit(record, typed) >= full_credit;
}

double typed_credit(const question_record &record, const QString &typed)
{
    const size_t match = typed_match(record, typed);
    return match > 0 ? answer_weight(record, match) : 0;
}

double choice_credit(const question_record &record, const ChoiceAnswer &answer)
{
    int rights = 0, pressed = 0;
    double credit = 0;
    for (size_t p = 1; p < answer.visible.size(); ++p) {
        rights += record.correct[p] == 1;
        if (answer.visible[p] && answer.pressed[p]) {
            ++pressed;
            credit += answer_weight(record, p);
        }
    }
    if ((rights <= 1 || is_any_one_right(record)) && pressed != 1)
        return 0;
    return std::clamp(credit, 0.0, 100.0);
}

bool lab_is_right(const LabOutcome &outcome)
{
    return outcome.missed.isEmpty() && !outcome.met.isEmpty();
}

QStringList lab_outcome_lines(const LabOutcome &outcome)
{
    QStringList lines;
    const auto section = [&lines](const QString &heading, const QStringList &items, const QString &mark) {
        lines << heading;
        for (const QString &item : items)
            lines << mark + item;
        if (items.isEmpty())
            lines << QStringLiteral("    (none)");
    };
    section(QStringLiteral("Goals met:"), outcome.met, QStringLiteral("  \u2714 "));
    section(QStringLiteral("Goals missed:"), outcome.missed, QStringLiteral("  \u2718 "));
    section(QStringLiteral("Commands you typed:"), outcome.commands, QStringLiteral("    "));
    return lines;
}

QString score_text(int number_right, int answered)
{
    return QStringLiteral("%1/%2").arg(number_right).arg(answered);
}

int percent_right(int number_right, int answered)
{
    return answered > 0 ? number_right * 100 / answered : 0;
}

QString percent_text(int number_right, int answered)
{
    return QStringLiteral("%1%").arg(percent_right(number_right, answered));
}

GaugeCover gauge_cover(int number_right, int answered, int gauge_height)
{
    if (answered <= 0)
        return {};
    const double height = double(answered - number_right) / answered * gauge_height;
    return {int(std::lround(height)), height >= gauge_cover_min_height};
}
