// The program's own format (see the README): {"test_title", "author_email",
// "questions": [...]}, each question read and written as the built-in bank's.
#include "bank/formats/bank_text.h"
#include "bank/formats/format_parts.h"
#include "bank/formats/import_builder.h"
#include "bank/question_json.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Byte offsets where the elements of the top-level "questions" array start,
// for line numbers: QJsonDocument gives none.
std::vector<qsizetype> question_offsets(const QByteArray &bytes)
{
    std::vector<qsizetype> offsets;
    int depth = 0;
    int array_depth = -1;  // the depth inside the questions array, once in it
    qsizetype key_start = -1, key_end = -1;
    bool expect_value = false;
    for (qsizetype k = 0; k < bytes.size(); ++k) {
        const char c = bytes.at(k);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        if (depth == array_depth && expect_value && c != ']') {
            offsets.push_back(k);
            expect_value = false;
        }
        if (c == '"') {
            const qsizetype start = k + 1;
            for (++k; k < bytes.size() && bytes.at(k) != '"'; ++k) {
                if (bytes.at(k) == '\\')
                    ++k;
            }
            if (depth == 1)
                key_start = start, key_end = k;
        } else if (c == '{' || c == '[') {
            ++depth;
            if (c == '[' && depth == 2 && array_depth < 0 &&
                key_start >= 0 && bytes.mid(key_start, key_end - key_start) == "questions") {
                array_depth = depth;
                expect_value = true;
            }
        } else if (c == '}' || c == ']') {
            if (depth == array_depth)
                array_depth = -2;  // only the first questions array counts
            --depth;
        } else if (c == ',' && depth == array_depth) {
            expect_value = true;
        }
    }
    return offsets;
}

} // namespace

ImportedBank import_json(const QByteArray &bytes)
{
    ImportedBank bank;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        report(bank, LineCounter(bytes).line_at(error.offset), true, QStringLiteral("JSON error: %1").arg(error.errorString()));
        return bank;
    }
    const QJsonValue questions = document.object().value(QLatin1String("questions"));
    if (!document.isObject() || !questions.isArray()) {
        report(bank, 0, true, QStringLiteral("not a question bank: no \"questions\" list"));
        return bank;
    }
    bank.title = clean_text(document.object().value(QLatin1String("test_title")).toString()).trimmed();
    bank.author = clean_text(document.object().value(QLatin1String("author_email")).toString()).trimmed();
    const QJsonArray array = questions.toArray();
    const std::vector<qsizetype> offsets = question_offsets(bytes);
    LineCounter lines(bytes);
    for (qsizetype n = 0; n < array.size(); ++n) {
        const int line = size_t(array.size()) == offsets.size() ? lines.line_at(offsets[size_t(n)]) : 0;
        question_record record;
        QStringList warnings;
        const QString refused = array.at(n).isObject() ? read_question_json(array.at(n).toObject(), record, &warnings)
                                                       : QStringLiteral("not a question object");
        for (const QString &warning : std::as_const(warnings))
            report(bank, line, false, warning);
        if (refused.isEmpty())
            add_record(bank, record, line);
        else
            report(bank, line, true, refused);
    }
    return bank;
}

QByteArray export_json(const ImportedBank &bank)
{
    QJsonArray questions;
    int id = 0;
    for (const question_record &record : bank.questions) {
        QJsonObject json = write_question_json(record);
        json.insert(QLatin1String("id"), ++id);
        questions.append(json);
    }
    QJsonObject document;
    document.insert(QLatin1String("test_title"), bank.title);
    document.insert(QLatin1String("author_email"), bank.author);
    document.insert(QLatin1String("questions"), questions);
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}
