#include "quiz/quiz_texts.h"

#include "quiz/marking.h"
#include "quiz/numerical_marking.h"

#include <QStringList>

namespace {

const QString kNewLine = QStringLiteral("\r\n");

QChar letter(size_t position)
{
    return QChar(char16_t(u'A' + position - 1));
}

} // namespace

QString feedback_text(const question_record &record, bool answered_right,
                      const AnswerFlags &visible)
{
    QString text = answered_right ? QStringLiteral("Great Job.") + kNewLine + QStringLiteral("The answer(s): ")
                                  : QStringLiteral("Incorrect.") + kNewLine + QStringLiteral("The correct answer(s): ");
    if (is_typed_question(record)) {
        text += (is_numerical_question(record) ? numerical_right_answers(record) : record.answers[1]) + kNewLine + kNewLine +
                record.question;
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
