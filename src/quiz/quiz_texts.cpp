#include "quiz/quiz_texts.h"

#include "quiz/marking.h"
#include "quiz/numerical_marking.h"

#include <QStringList>
#include <cmath>

namespace {

const QString kNewLine = QStringLiteral("\r\n");

QChar letter(size_t position)
{
    return QChar(char16_t(u'A' + position - 1));
}

// A typed question's answer to show: the first with full credit.
QString first_accepted(const question_record &record)
{
    if (is_numerical_question(record))
        return numerical_right_answers(record);
    for (size_t p = 1; p <= max_answers; ++p) {
        if (!record.answers[p].isEmpty() && answer_weight(record, p) >= full_credit)
            return record.answers[p];
    }
    return record.answers[1];
}

} // namespace

QString feedback_text(const question_record &record, bool answered_right,
                      const AnswerFlags &visible)
{
    if (is_lab_question(record))
        return (answered_right ? QStringLiteral("Great Job.") + kNewLine + QStringLiteral("Every goal holds.")
                               : QStringLiteral("Incorrect.") + kNewLine + QStringLiteral("Not every goal holds.")) +
               kNewLine + kNewLine + record.question + kNewLine + kNewLine + record.explanation + kNewLine +
               record.answer_note;
    QString text = answered_right ? QStringLiteral("Great Job.") + kNewLine + QStringLiteral("The answer(s): ")
                                  : QStringLiteral("Incorrect.") + kNewLine + QStringLiteral("The correct answer(s): ");
    if (is_matching_question(record)) {
        text += QStringLiteral("the pairs below") + kNewLine + kNewLine + record.question;
        for (size_t p = 1; p <= size_t(matching_stems(record)); ++p)
            text += kNewLine + record.answers[p] + QStringLiteral("  ->  ") + record.matches[p];
    } else if (is_typed_question(record)) {
        text += first_accepted(record) + kNewLine + kNewLine + record.question;
    } else {
        QStringList right;
        for (size_t p = 1; p <= max_answers; ++p) {
            if (record.correct[p] == 1)
                right << letter(p);
        }
        text += QLatin1Char(' ') + right.join(is_any_one_right(record) ? QStringLiteral(" or ") : QStringLiteral(" "));
        text += kNewLine + kNewLine + record.question;
        for (size_t p = 1; p <= max_answers; ++p) {
            if (visible[p])
                text += kNewLine + letter(p) + QStringLiteral(".)  ") + record.answers[p];
        }
    }
    return text + kNewLine + kNewLine + record.explanation + kNewLine + record.answer_note;
}

QString feedback_text(const LoggedAnswer &marked)
{
    QString text = feedback_text(marked.shown, marked.right, marked.choice.visible);
    const QStringList outcome = outcome_lines(marked);
    if (outcome.isEmpty())
        return text;
    // After the line of the right answers.
    const qsizetype end = text.indexOf(kNewLine, text.indexOf(kNewLine) + kNewLine.size());
    return text.insert(end, kNewLine + outcome.join(kNewLine));
}

QStringList outcome_lines(const LoggedAnswer &marked)
{
    QStringList lines;
    if (marked.lab_question())
        return lab_outcome_lines(marked.lab);
    if (!marked.answered)
        return lines;
    const question_record &record = marked.shown;
    double credit = 0;
    if (marked.matching_question()) {
        credit = matching_credit(record, marked.matched);
        if (!marked.right && credit > 0)
            lines << QStringLiteral("Partial credit: %1 (%2 of %3 pairs right).")
                         .arg(credit_text(credit))
                         .arg(right_pairs(record, marked.matched))
                         .arg(matching_stems(record));
        return lines;
    }
    if (marked.typed_question()) {
        const size_t match = typed_match(record, marked.typed);
        if (match > 0 && !record.answer_feedback[match].isEmpty())
            lines << QStringLiteral("About your answer: %1").arg(record.answer_feedback[match]);
        credit = typed_credit(record, marked.typed);
    } else {
        credit = choice_credit(record, marked.choice);
    }
    if (record.weighted && !marked.right && credit > 0)
        lines << QStringLiteral("Partial credit: %1.").arg(credit_text(credit));
    return lines;
}

QString credit_text(double percent)
{
    return QString::number(std::round(percent * 100) / 100) + QLatin1Char('%');
}

QString report_text(int number_right, int total)
{
    const int percent = percent_right(number_right, total);
    return QStringLiteral("You have completed the test\n\n Right/Total  = %1/%2\nPercent Right = %3%\n\n%4")
        .arg(number_right)
        .arg(total)
        .arg(percent)
        .arg(percent == 100 ? QStringLiteral("Congratulations, try a different test")
                            : QStringLiteral("Take this test until you get 100%"));
}
