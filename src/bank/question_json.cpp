#include "bank/question_json.h"

#include "lab/lab_definition.h"

#include <QJsonArray>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// Notes what was not read as written, when the caller wants to know.
class Warnings {
public:
    explicit Warnings(QStringList *list) : list_(list) {}
    void add(const QString &text) const
    {
        if (list_)
            *list_ << text;
    }

private:
    QStringList *list_;
};

// A text field; any other type is left out, with a warning.
QString text(const QJsonObject &json, const char *key, const Warnings &warnings)
{
    const QJsonValue value = json.value(QLatin1String(key));
    if (!value.isString() && !value.isUndefined() && !value.isNull())
        warnings.add(QStringLiteral("\"%1\" is not a text: left out").arg(QLatin1String(key)));
    return value.toString().trimmed();
}

// A list field; one text is read as a list of one, any other type left out.
QJsonArray list(const QJsonObject &json, const char *key, const Warnings &warnings)
{
    const QJsonValue value = json.value(QLatin1String(key));
    if (value.isArray() || value.isUndefined() || value.isNull())
        return value.toArray();
    if (value.isString())
        return QJsonArray{value};
    warnings.add(QStringLiteral("\"%1\" is not a list: left out").arg(QLatin1String(key)));
    return {};
}

// Copies the strings of a JSON array into items[1..], as many as fit.
template <size_t N>
void fill_strings(std::array<QString, N> &items, const QJsonArray &values, const char *key, const Warnings &warnings)
{
    const int count = std::min<int>(values.size(), int(N) - 1);
    for (int k = 0; k < count; ++k)
        items[size_t(k + 1)] = values.at(k).toString().trimmed();
    if (std::any_of(values.begin(), values.end(), [](const QJsonValue &v) { return !v.isString(); }))
        warnings.add(QStringLiteral("\"%1\" holds something other than texts: left out").arg(QLatin1String(key)));
    if (values.size() > count)
        warnings.add(QStringLiteral("\"%1\": only the first %2 of %3 are kept").arg(QLatin1String(key)).arg(count).arg(values.size()));
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

// The "lab" object of a lab question, its task the question's text unless
// it has its own; "" or why it cannot be used.
QString read_lab_object(const QJsonObject &json, question_record &record)
{
    const QJsonValue value = json.value(QLatin1String("lab"));
    if (!value.isObject())
        return QStringLiteral("a lab question without a \"lab\" object");
    QStringList problems;
    LabDefinition lab = read_lab(value.toObject(), &problems);
    if (!problems.isEmpty())
        return QStringLiteral("the lab: %1").arg(problems.mid(0, 3).join(QLatin1String("; ")));
    if (lab.task.isEmpty())
        lab.task = record.question;
    record.lab = std::make_shared<const LabDefinition>(std::move(lab));
    return {};
}

// A numerical question's "tolerances" (numbers, one per answer) and "units"
// ({"name": "km", "multiplier": 0.001} each).
void read_numerical(const QJsonObject &json, question_record &record, const Warnings &warnings)
{
    const QJsonArray tolerances = list(json, "tolerances", warnings);
    for (qsizetype k = 0; k < std::min<qsizetype>(tolerances.size(), max_answers); ++k)
        record.tolerances[size_t(k + 1)] = std::abs(tolerances.at(k).toDouble());
    if (std::any_of(tolerances.begin(), tolerances.end(), [](const QJsonValue &v) { return !v.isDouble(); }))
        warnings.add(QStringLiteral("\"tolerances\" holds something other than numbers: read as 0"));
    for (const QJsonValue &unit : list(json, "units", warnings)) {
        const QString name = unit.toObject().value(QLatin1String("name")).toString().trimmed();
        const double multiplier = unit.toObject().value(QLatin1String("multiplier")).toDouble(1);
        if (name.isEmpty() || multiplier == 0 || record.units.size() == max_answers)
            warnings.add(QStringLiteral("a unit without a name or a multiplier, or past %1 units: left out").arg(max_answers));
        else
            record.units.push_back({name, multiplier});
    }
}

void write_numerical(QJsonObject &json, const question_record &record)
{
    QJsonArray tolerances, units;
    for (size_t k = 1; k <= max_answers && !record.answers[k].isEmpty(); ++k)
        tolerances.append(record.tolerances[k]);
    for (const AnswerUnit &unit : record.units)
        units.append(QJsonObject{{QStringLiteral("name"), unit.name}, {QStringLiteral("multiplier"), unit.multiplier}});
    json.insert(QLatin1String("tolerances"), tolerances);
    put_array(json, "units", units);
}

// A matching question's "matches": the meaning of each answer (its stems)
// in their order, then the distractors; "" or why not.
QString read_matches(const QJsonObject &json, qsizetype stems, question_record &record)
{
    const QJsonValue value = json.value(QLatin1String("matches"));
    const QJsonArray matches = value.toArray();
    if (!value.isArray() || std::any_of(matches.begin(), matches.end(), [](const QJsonValue &v) { return !v.isString(); }))
        return QStringLiteral("a matching question whose \"matches\" is not a list of texts");
    if (matches.size() < stems)
        return QStringLiteral("%1 answers but %2 matches: each answer (a stem) needs its meaning").arg(stems).arg(matches.size());
    if (matches.size() > qsizetype(max_answers))
        return QStringLiteral("more than %1 matches").arg(max_answers);
    fill_strings(record.matches, matches, "matches", Warnings(nullptr));
    return {};
}

// "answer_weights": one number per answer, in percent; "" or why not.
QString read_weights(const QJsonArray &weights, qsizetype answers, question_record &record)
{
    if (weights.isEmpty())
        return {};
    if (weights.size() != answers)
        return QStringLiteral("%1 answer weights for %2 answers").arg(weights.size()).arg(answers);
    for (qsizetype k = 0; k < weights.size(); ++k) {
        if (!weights.at(k).isDouble())
            return QStringLiteral("answer weight %1 is not a number").arg(k + 1);
        record.weights[size_t(k + 1)] = weights.at(k).toDouble();
    }
    record.weighted = true;
    return {};
}

} // namespace

QString read_question_json(const QJsonObject &json, question_record &record, QStringList *warning_list)
{
    const Warnings warnings(warning_list);
    const QJsonArray answers = list(json, "answers", warnings);
    if (text(json, "question", warnings).isEmpty())
        return QStringLiteral("the question has no text");
    if (answers.size() > qsizetype(max_answers))
        return QStringLiteral("more than %1 answers").arg(max_answers);

    record = question_record();
    record.question = text(json, "question", Warnings(nullptr));
    record.question_html = text(json, "question_html", warnings);
    QStringList lines;
    for (const QJsonValue &line : list(json, "explanation", warnings))
        lines << line.toString().trimmed();
    record.explanation = lines.join(kLineBreak);
    record.clue = text(json, "clue", warnings);
    record.question_type = text(json, "question_type", warnings);
    if (record.question_type.isEmpty())
        record.question_type = default_question_type();
    record.answer_note = text(json, "answer_note", warnings);
    record.topic = text(json, "topic", warnings);
    fill_strings(record.answers, answers, "answers", warnings);
    for (const QJsonValue &right : list(json, "correct", warnings)) {
        if (!right.isDouble())
            return right.isString() ? QStringLiteral("a right answer (\"%1\") is a text, not a number").arg(right.toString().left(40))
                                    : QStringLiteral("a right answer is not a number");
        const int k = right.toInt();
        if (k < 1 || k > answers.size())
            return QStringLiteral("a right answer (%1) names no answer").arg(right.toVariant().toString());
        record.correct[size_t(k)] = 1;
    }
    fill_strings(record.diagrams, list(json, "diagrams", warnings), "diagrams", warnings);
    // Optional, but a description in a shape not understood is told, not
    // dropped unseen: a student who cannot see the diagram depends on it.
    const QJsonValue descriptions = json.value(QLatin1String("diagram_descriptions"));
    if (!descriptions.isUndefined()) {
        const QJsonArray texts = descriptions.toArray();
        if (!descriptions.isArray() || std::any_of(texts.begin(), texts.end(), [](const QJsonValue &v) { return !v.isString(); }))
            return QStringLiteral("the diagram descriptions are not a list of texts");
        fill_strings(record.diagram_descriptions, texts, "diagram_descriptions", warnings);
    }
    fill_strings(record.exhibits, list(json, "exhibits", warnings), "exhibits", warnings);
    fill_strings(record.answer_feedback, list(json, "answer_feedback", warnings), "answer_feedback", warnings);
    if (is_numerical_question(record))
        read_numerical(json, record, warnings);
    const QJsonValue case_sensitive = json.value(QLatin1String("case_sensitive"));
    if (!case_sensitive.isBool() && !case_sensitive.isUndefined())
        warnings.add(QStringLiteral("\"case_sensitive\" is not true or false: left out"));
    record.case_sensitive = case_sensitive.toBool();
    if (is_matching_question(record)) {
        if (const QString refused = read_matches(json, answers.size(), record); !refused.isEmpty())
            return refused;
    } else if (json.contains(QLatin1String("matches"))) {
        warnings.add(QStringLiteral("\"matches\" on a question that is not a matching one: left out"));
    }
    if (is_lab_question(record))
        return read_lab_object(json, record);
    if (json.contains(QLatin1String("lab")))
        warnings.add(QStringLiteral("\"lab\" on a question that is not a lab: left out"));
    return read_weights(list(json, "answer_weights", warnings), answers.size(), record);
}

QJsonObject write_question_json(const question_record &record)
{
    QJsonObject json;
    put_text(json, "topic", record.topic);
    json.insert(QLatin1String("question"), record.question);
    put_text(json, "question_html", record.question_html);
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
    if (record.lab) {
        QJsonObject lab = write_lab(*record.lab);
        if (record.lab->task == record.question)
            lab.remove(QLatin1String("task"));
        json.insert(QLatin1String("lab"), lab);
    }
    if (is_numerical_question(record))
        write_numerical(json, record);
    if (is_matching_question(record))
        json.insert(QLatin1String("matches"), strings(record.matches));
    if (record.weighted) {
        QJsonArray weights;
        for (qsizetype k = 1; k <= json.value(QLatin1String("answers")).toArray().size(); ++k)
            weights.append(record.weights[size_t(k)]);
        json.insert(QLatin1String("answer_weights"), weights);
    }
    if (record.case_sensitive)
        json.insert(QLatin1String("case_sensitive"), true);
    return json;
}
