#include "bank/bank_loaders.h"

#include "bank/question_bank.h"
#include "bank/question_json.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtDebug>
#include <algorithm>

namespace {

QString bank_file(int n)
{
    return QStringLiteral(":/bank/questions-%1.json").arg(n);
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
        const QString refused = id < first || id > last
                                    ? QStringLiteral("out of range %1..%2").arg(first).arg(last)
                                    : read_question_json(json, record);
        if (!refused.isEmpty()) {
            qWarning("Question %d in %s is skipped: %s", id, qPrintable(path), qPrintable(refused));
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
