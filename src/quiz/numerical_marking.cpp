#include "quiz/numerical_marking.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

std::optional<double> typed_value(const question_record &record, const QString &typed)
{
    static const QRegularExpression number(
        QStringLiteral("^([+-]?(?:\\d+(?:[.,]\\d*)?|[.,]\\d+)(?:[eE][+-]?\\d+)?)\\s*(.*)$"));
    const QRegularExpressionMatch match = number.match(typed.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = match.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    const QString unit = match.captured(2);
    if (!ok)
        return std::nullopt;
    if (unit.isEmpty())
        return value;
    const auto known = std::find_if(record.units.begin(), record.units.end(),
                                    [&unit](const AnswerUnit &u) { return u.name == unit; });
    if (known == record.units.end() || known->multiplier == 0)
        return std::nullopt;
    return value / known->multiplier;
}

size_t numerical_match(const question_record &record, const QString &typed)
{
    const std::optional<double> value = typed_value(record, typed);
    if (!value)
        return 0;
    for (size_t k = 1; k <= max_answers; ++k) {
        const QString accepted = record.answers[k].trimmed();
        if (accepted == QLatin1String("*"))
            return k;
        bool ok = false;
        const double target = accepted.toDouble(&ok);
        // A hair of slack, so that 0.1 + 0.2 is within 0 of 0.3.
        const double slack = std::abs(record.tolerances[k]) + 1e-12 * std::max(1.0, std::abs(target));
        if (ok && std::abs(*value - target) <= slack)
            return k;
    }
    return 0;
}

QString numerical_right_answers(const question_record &record)
{
    QStringList right;
    for (size_t k = 1; k <= max_answers; ++k) {
        if (record.answers[k].isEmpty() || answer_weight(record, k) < full_credit)
            continue;
        const double tolerance = std::abs(record.tolerances[k]);
        right << (tolerance > 0 ? QStringLiteral("%1 \u00b1 %2").arg(record.answers[k]).arg(tolerance) : record.answers[k]);
    }
    QString text = right.join(QStringLiteral(" or "));
    if (!record.units.empty())
        text += QLatin1Char(' ') + record.units.front().name;
    return text;
}
