#include "quiz/marking.h"

#include "quiz/numerical_marking.h"

#include <cmath>

bool choice_is_right(const question_record &record, const ChoiceAnswer &answer)
{
    if (is_any_one_right(record)) {
        int pressed = 0, right = 0;
        for (size_t p = 1; p <= max_answers; ++p) {
            pressed += answer.visible[p] && answer.pressed[p];
            right += answer.visible[p] && answer.pressed[p] && record.correct[p] == 1;
        }
        return pressed == 1 && right == 1;
    }
    for (size_t p = 1; p <= max_answers; ++p) {
        if (answer.visible[p] && (record.correct[p] == 1) != answer.pressed[p])
            return false;
    }
    return true;
}

bool typed_is_right(const question_record &record, const QString &typed)
{
    if (is_numerical_question(record)) {
        const size_t match = numerical_match(record, typed);
        return match > 0 && record.correct[match] == 1;
    }
    const QString entry = typed.toUpper().trimmed();
    for (size_t p = 1; p <= max_answers; ++p) {
        const QString accepted = record.answers[p].toUpper().trimmed();
        if (!accepted.isEmpty() && accepted == entry)
            return true;
    }
    return false;
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
