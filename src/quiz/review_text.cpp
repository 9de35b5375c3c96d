#include "quiz/review_text.h"

#include "quiz/numerical_marking.h"
#include "quiz/quiz_texts.h"

#include <QStringList>
#include <algorithm>

namespace {

QString html(const QString &text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    escaped.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return escaped;
}

QChar letter(size_t position)
{
    return QChar(char16_t(u'A' + position - 1));
}

QString choice_rows(const LoggedAnswer &answer)
{
    QString rows;
    for (size_t p = 1; p <= max_answers; ++p) {
        if (!answer.choice.visible[p])
            continue;
        const bool right = answer.shown.correct[p] == 1;
        const bool pressed = answer.choice.pressed[p];
        QStringList marks;
        if (pressed)
            marks << (right ? QStringLiteral("&#x25CF; your choice") : QStringLiteral("&#x25CF; your choice, wrong"));
        if (right)
            marks << (pressed                                ? QStringLiteral("&#x2714; right answer")
                      : is_any_one_right(answer.shown) ? QStringLiteral("&#x2714; also right: any one of these will do")
                                                       : QStringLiteral("&#x2714; right answer, not chosen"));
        QString text = html(answer.shown.answers[p]);
        if (right)
            text = QStringLiteral("<b>%1</b>").arg(text);
        if (!answer.shown.answer_feedback[p].trimmed().isEmpty())
            text += QStringLiteral("<br><i>%1</i>").arg(html(answer.shown.answer_feedback[p]));
        rows += QStringLiteral("<tr><td><b>%1.</b></td><td>%2</td><td>%3</td></tr>")
                    .arg(letter(p))
                    .arg(text, marks.join(QStringLiteral("<br>")));
    }
    return QStringLiteral("<table cellspacing=\"0\" cellpadding=\"4\">%1</table>").arg(rows);
}

QString typed_rows(const LoggedAnswer &answer)
{
    QStringList accepted;
    for (size_t p = 1; p <= max_answers; ++p) {
        if (!answer.shown.answers[p].trimmed().isEmpty() && answer_weight(answer.shown, p) >= full_credit)
            accepted << html(answer.shown.answers[p].trimmed());
    }
    if (is_numerical_question(answer.shown))
        accepted = QStringList{html(numerical_right_answers(answer.shown))};
    const QString typed = answer.typed.trimmed().isEmpty() ? QStringLiteral("<i>(nothing typed)</i>")
                                                           : html(answer.typed.trimmed());
    return QStringLiteral("<p>Your answer: <b>%1</b> &nbsp; %2<br>Accepted: <b>%3</b>%4</p>")
        .arg(typed, answer.right ? QStringLiteral("&#x2714; right") : QStringLiteral("&#x2718; wrong"),
             accepted.join(QStringLiteral("</b> or <b>")),
             answer.shown.case_sensitive ? QStringLiteral(" (case matters)") : QString());
}

// Each stem with the meaning given and, when that is wrong, the right one.
QString matching_rows(const LoggedAnswer &answer)
{
    const question_record &record = answer.shown;
    QString rows;
    for (int stem = 0; stem < matching_stems(record); ++stem) {
        const QString given = meaning_given(record, answer.matched, stem);
        const QString &right = record.matches[size_t(stem + 1)];
        const QString mark = given.isEmpty()   ? QStringLiteral("<i>(none given)</i> &nbsp; &#x2718;")
                             : given == right ? QStringLiteral("%1 &nbsp; &#x2714; right").arg(html(given))
                                              : QStringLiteral("%1 &nbsp; &#x2718; wrong").arg(html(given));
        rows += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                    .arg(html(record.answers[size_t(stem + 1)]), mark,
                         given == right ? QString() : QStringLiteral("right: <b>%1</b>").arg(html(right)));
    }
    return QStringLiteral("<table cellspacing=\"0\" cellpadding=\"4\">%1</table>").arg(rows);
}

} // namespace

QString verdict_word(const LoggedAnswer &answer)
{
    if (!answer.answered)
        return QStringLiteral("Unanswered");
    return answer.right ? QStringLiteral("Right") : QStringLiteral("Wrong");
}

std::vector<int> filtered_positions(const std::vector<LoggedAnswer> &answers, ReviewFilter filter)
{
    std::vector<int> positions;
    for (int i = 0; i < int(answers.size()); ++i) {
        const bool right = answers[size_t(i)].right;
        if (filter == ReviewFilter::all || (filter == ReviewFilter::right) == right)
            positions.push_back(i);
    }
    return positions;
}

QString review_row_text(int position, const LoggedAnswer &answer)
{
    QString question = answer.shown.question.simplified();
    if (question.size() > 80)
        question = question.left(79) + QChar(0x2026);
    const QString topic = answer.shown.topic.trimmed();
    return QStringLiteral("%1. %2 - %3%4")
        .arg(position)
        .arg(verdict_word(answer), topic.isEmpty() ? QString() : topic + QStringLiteral(": "), question);
}

QString review_detail_html(int position, const LoggedAnswer &answer)
{
    QString text = QStringLiteral("<p><b>Question %1: %2</b> &nbsp; (bank question %3").arg(position).arg(
        verdict_word(answer)).arg(answer.bank_index);
    if (!answer.shown.topic.trimmed().isEmpty())
        text += QStringLiteral(", %1").arg(html(answer.shown.topic.trimmed()));
    if (answer.milliseconds > 0)
        text += QStringLiteral(", time %1").arg(minutes_seconds(answer.milliseconds));
    text += QStringLiteral(")</p><p>%1</p>").arg(html(answer.shown.question));
    if (answer.matching_question())
        text += matching_rows(answer);
    else if (!answer.lab_question())
        text += answer.typed_question() ? typed_rows(answer) : choice_rows(answer);
    for (const QString &line : outcome_lines(answer))
        text += QStringLiteral("<p><i>%1</i></p>").arg(html(line));
    if (!answer.shown.explanation.trimmed().isEmpty())
        text += QStringLiteral("<p><b>Explanation</b><br>%1</p>").arg(html(answer.shown.explanation));
    if (!answer.shown.answer_note.trimmed().isEmpty())
        text += QStringLiteral("<p>%1</p>").arg(html(answer.shown.answer_note));
    return text;
}

QString minutes_seconds(qint64 milliseconds)
{
    const qint64 seconds = std::max<qint64>(milliseconds, 0) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
