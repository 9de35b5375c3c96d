#include "bank/question_json.h"

#include <QJsonArray>
#include <QStringList>
#include <algorithm>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString text(const QJsonObject &json, const char *key)
{
    return json.value(QLatin1String(key)).toString().trimmed();
}

// Copies the strings of a JSON array into items[1..], as many as fit.
template <size_t N>
void fill_strings(std::array<QString, N> &items, const QJsonArray &values)
{
    const int count = std::min<int>(values.size(), int(N) - 1);
    for (int k = 0; k < count; ++k)
        items[size_t(k + 1)] = values.at(k).toString().trimmed();
}

// items[1..] up to the last one set, as a JSON array.
template <size_t N>
QJsonArray strings(const std::array<QString, N> &items)
{
    size_t last = N - 1;
    while (last > 0 && items[last].isEmpty())
        --last;
    QJsonArray values;
    for (size_t k = 1; k <= last; ++k)
        values.append(items[k]);
    return values;
}

void put_text(QJsonObject &json, const char *key, const QString &value)
{
    if (!value.isEmpty())
        json.insert(QLatin1String(key), value);
}

void put_array(QJsonObject &json, const char *key, const QJsonArray &values)
{
    if (!values.isEmpty())
        json.insert(QLatin1String(key), values);
}

} // namespace

QString read_question_json(const QJsonObject &json, question_record &record)
{
    const QJsonArray answers = json.value(QLatin1String("answers")).toArray();
    if (text(json, "question").isEmpty())
        return QStringLiteral("the question has no text");
    if (answers.size() > 6)
        return QStringLiteral("more than six answers");

    record = question_record();
    record.question = text(json, "question");
    QStringList lines;
    for (const QJsonValue &line : json.value(QLatin1String("explanation")).toArray())
        lines << line.toString().trimmed();
    record.explanation = lines.join(kLineBreak);
    record.clue = text(json, "clue");
    record.question_type = json.value(QLatin1String("question_type")).toString(default_question_type()).trimmed();
    record.answer_note = text(json, "answer_note");
    record.topic = text(json, "topic");
    fill_strings(record.answers, answers);
    for (const QJsonValue &right : json.value(QLatin1String("correct")).toArray()) {
        const int k = right.toInt();
        if (k < 1 || k > answers.size())
            return QStringLiteral("a right answer (%1) names no answer").arg(right.toVariant().toString());
        record.correct[size_t(k)] = 1;
    }
    fill_strings(record.diagrams, json.value(QLatin1String("diagrams")).toArray());
    // Optional, but a description in a shape not understood is told, not
    // dropped unseen: a student who cannot see the diagram depends on it.
    const QJsonValue descriptions = json.value(QLatin1String("diagram_descriptions"));
    if (!descriptions.isUndefined()) {
        const QJsonArray list = descriptions.toArray();
        if (!descriptions.isArray() || std::any_of(list.begin(), list.end(), [](const QJsonValue &v) { return !v.isString(); }))
            return QStringLiteral("the diagram descriptions are not a list of texts");
        fill_strings(record.diagram_descriptions, list);
    }
    fill_strings(record.exhibits, json.value(QLatin1String("exhibits")).toArray());
    fill_strings(record.answer_feedback, json.value(QLatin1String("answer_feedback")).toArray());
    return {};
}

QJsonObject write_question_json(const question_record &record)
{
    QJsonObject json;
    put_text(json, "topic", record.topic);
    json.insert(QLatin1String("question"), record.question);
    json.insert(QLatin1String("answers"), strings(record.answers));
    QJsonArray correct;
    for (size_t k = 1; k < record.correct.size(); ++k) {
        if (record.correct[k] == 1)
            correct.append(int(k));
    }
    json.insert(QLatin1String("correct"), correct);
    json.insert(QLatin1String("explanation"),
                record.explanation.isEmpty() ? QJsonArray()
                                             : QJsonArray::fromStringList(record.explanation.split(kLineBreak)));
    if (record.question_type != default_question_type())
        put_text(json, "question_type", record.question_type);
    put_text(json, "clue", record.clue);
    put_array(json, "diagrams", strings(record.diagrams));
    put_array(json, "diagram_descriptions", strings(record.diagram_descriptions));
    put_array(json, "exhibits", strings(record.exhibits));
    put_text(json, "answer_note", record.answer_note);
    put_array(json, "answer_feedback", strings(record.answer_feedback));
    return json;
}
