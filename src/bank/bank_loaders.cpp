#include "bank_loaders.h"

#include "question_bank.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QtDebug>
#include <algorithm>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString bank_file(int n)
{
    return QStringLiteral(":/bank/questions-%1.json").arg(n);
}

// Copies up to last_index strings of a JSON array into items[1..].
template <size_t N>
void fill_strings(std::array<QString, N> &items, const QJsonArray &values)
{
    const int count = std::min<int>(values.size(), int(N) - 1);
    for (int k = 0; k < count; ++k)
        items[size_t(k + 1)] = values.at(k).toString().trimmed();
}

bool read_record(const QJsonObject &json, question_record &record)
{
    const QJsonArray answers = json.value(QLatin1String("answers")).toArray();
    if (answers.size() > 6 || json.value(QLatin1String("question")).toString().trimmed().isEmpty())
        return false;

    record = question_record();
    record.question = json.value(QLatin1String("question")).toString().trimmed();
    QStringList lines;
    for (const QJsonValue &line : json.value(QLatin1String("explanation")).toArray())
        lines << line.toString().trimmed();
    record.explanation = lines.join(kLineBreak);
    record.clue = json.value(QLatin1String("clue")).toString().trimmed();
    record.question_type =
        json.value(QLatin1String("question_type")).toString(QStringLiteral("single_answer")).trimmed();
    record.answer_note = json.value(QLatin1String("answer_note")).toString().trimmed();
    record.topic = json.value(QLatin1String("topic")).toString().trimmed();
    fill_strings(record.answers, answers);
    for (const QJsonValue &right : json.value(QLatin1String("correct")).toArray()) {
        const int k = right.toInt();
        if (k < 1 || k > answers.size())
            return false;
        record.correct[size_t(k)] = 1;
    }
    fill_strings(record.diagrams, json.value(QLatin1String("diagrams")).toArray());
    fill_strings(record.exhibits, json.value(QLatin1String("exhibits")).toArray());
    fill_strings(record.answer_feedback, json.value(QLatin1String("answer_feedback")).toArray());
    return true;
}

QJsonObject read_document(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Question file %s cannot be read: %s", qPrintable(path), qPrintable(file.errorString()));
        return {};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qWarning("Question file %s is not valid: %s at offset %d", qPrintable(path),
                 qPrintable(error.errorString()), error.offset);
        return {};
    }
    return document.object();
}

int count_filled(const QuestionBank &bank)
{
    return int(std::count_if(bank.questions.begin() + 1, bank.questions.end(),
                             [](const question_record &r) { return !r.question.isEmpty(); }));
}

} // namespace

int load_question_file(QuestionBank &bank, const QString &path, int first, int last)
{
    const QJsonObject document = read_document(path);
    if (document.contains(QLatin1String("test_title")))
        bank.test_title = document.value(QLatin1String("test_title")).toString().trimmed();
    if (document.contains(QLatin1String("author_email")))
        bank.author_email = document.value(QLatin1String("author_email")).toString().trimmed();

    int filled = 0;
    for (const QJsonValue &value : document.value(QLatin1String("questions")).toArray()) {
        const QJsonObject json = value.toObject();
        const int id = json.value(QLatin1String("id")).toInt();
        question_record record;
        if (id < first || id > last || !read_record(json, record)) {
            qWarning("Question %d in %s is skipped: out of range %d..%d or malformed", id,
                     qPrintable(path), first, last);
            continue;
        }
        bank.at(id) = record;
        ++filled;
    }
    return filled;
}

void fill_question_bank(QuestionBank &bank)
{
    bank.clear();
    load_questions_1(bank);
}

void load_questions_1(QuestionBank &bank)
{
    load_question_file(bank, bank_file(1), 1, 49);
    load_questions_2(bank);
}

void load_questions_2(QuestionBank &bank)
{
    load_question_file(bank, bank_file(2), 50, 99);
    load_questions_3(bank);
}

void load_questions_3(QuestionBank &bank)
{
    load_question_file(bank, bank_file(3), 100, 149);
    load_questions_4(bank);
}

void load_questions_4(QuestionBank &bank)
{
    load_question_file(bank, bank_file(4), 150, 199);
    load_questions_5(bank);
}

void load_questions_5(QuestionBank &bank)
{
    load_question_file(bank, bank_file(5), 200, 204);
    // The last loader records the size of the bank: every record it holds.
    bank.total_questions = qint16(count_filled(bank));
}
