#include "bank/formats/bank_formats.h"

#include "bank/formats/bank_text.h"
#include "bank/formats/format_parts.h"
#include "bank/formats/import_builder.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

ImportedBank refused(const QString &why)
{
    ImportedBank bank;
    bank.problems.push_back({0, true, why});
    return bank;
}

// The first few problems, for a file that gave no question at all.
QString first_problems(const ImportedBank &bank)
{
    QStringList listed;
    for (size_t k = 0; k < bank.problems.size() && k < 3; ++k)
        listed << (bank.problems[k].line > 0 ? QStringLiteral("line %1: ").arg(bank.problems[k].line) : QString()) +
                      bank.problems[k].message;
    return listed.join(QLatin1String("; "));
}

} // namespace

std::optional<BankFormat> format_from_name(const QString &word)
{
    const QString name = word.trimmed().toLower();
    if (name == QLatin1String("json"))
        return BankFormat::Json;
    if (name == QLatin1String("aiken"))
        return BankFormat::Aiken;
    if (name == QLatin1String("gift"))
        return BankFormat::Gift;
    if (name == QLatin1String("moodle-xml") || name == QLatin1String("xml"))
        return BankFormat::MoodleXml;
    return std::nullopt;
}

BankFormat detect_format(const QString &file_name, const QByteArray &bytes)
{
    const QString suffix = QFileInfo(file_name).suffix().toLower();
    if (suffix == QLatin1String("json"))
        return BankFormat::Json;
    if (suffix == QLatin1String("xml"))
        return BankFormat::MoodleXml;
    if (suffix == QLatin1String("gift"))
        return BankFormat::Gift;
    if (suffix == QLatin1String("aiken"))
        return BankFormat::Aiken;
    // A .txt file or any other: by what it holds.
    const QByteArray start = bytes.left(64 * 1024);
    const QByteArray trimmed = start.trimmed();
    if (trimmed.startsWith('{'))
        return BankFormat::Json;
    if (trimmed.startsWith('<') || trimmed.startsWith("\xef\xbb\xbf<"))
        return BankFormat::MoodleXml;
    // Aiken or GIFT by the structure of their questions: more "ANSWER: B"
    // lines than GIFT answer sets ("{=", "{~", "{#", "{}", "{T}"...) is
    // Aiken, whatever braces its texts hold (code such as "{ return 0; }").
    const QString text = decode_text(start).text;
    static const QRegularExpression aiken_answer(QStringLiteral("^ANSWER\\s*:\\s*[A-Z]"),
                                                 QRegularExpression::MultilineOption);
    static const QRegularExpression gift_answers(
        QStringLiteral("\\{\\s*(?:[=~#}]|(?:T|F|TRUE|FALSE)\\s*[#}])"), QRegularExpression::CaseInsensitiveOption);
    const auto count = [&text](const QRegularExpression &what) {
        qsizetype found = 0;
        for (auto match = what.globalMatch(text); match.hasNext(); match.next())
            ++found;
        return found;
    };
    return count(aiken_answer) > count(gift_answers) ? BankFormat::Aiken : BankFormat::Gift;
}

ImportedBank import_bank(const QByteArray &bytes, BankFormat format)
{
    if (bytes.size() > max_bank_file_bytes)
        return refused(QStringLiteral("the file is larger than %1 MiB").arg(max_bank_file_bytes / (1024 * 1024)));
    switch (format) {
    case BankFormat::Json:
        return import_json(bytes);
    case BankFormat::MoodleXml:
        return import_moodle_xml(bytes);
    case BankFormat::Aiken:
    case BankFormat::Gift:
        break;
    }
    if (looks_binary(bytes))
        return refused(QStringLiteral("binary data, not a text file"));
    const DecodedText decoded = decode_text(bytes);
    ImportedBank bank = format == BankFormat::Aiken ? import_aiken(decoded.text) : import_gift(decoded.text);
    for (const int line : decoded.latin1_lines)
        report(bank, line, false, QStringLiteral("the line is not UTF-8: read as Latin-1"));
    for (const int line : decoded.mended_lines)
        report(bank, line, false, QStringLiteral("the line holds bytes that are not UTF-8: each read as U+FFFD"));
    return bank;
}

ImportedBank read_bank_file(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return refused(QStringLiteral("no such file"));
    if (!info.isFile())
        return refused(QStringLiteral("not a file"));
    if (info.size() > max_bank_file_bytes)
        return refused(QStringLiteral("the file is larger than %1 MiB").arg(max_bank_file_bytes / (1024 * 1024)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("cannot be read: %1").arg(file.errorString()));
    // Read one byte past the limit: a file that grew since it was looked at
    // is still refused.
    const QByteArray bytes = file.read(max_bank_file_bytes + 1);
    if (file.error() != QFileDevice::NoError)
        return refused(QStringLiteral("cannot be read: %1").arg(file.errorString()));
    ImportedBank bank = import_bank(bytes, detect_format(path, bytes));
    if (bank.questions.empty() && !(bank.problems.size() == 1 && bank.problems.front().line == 0))
        bank.problems.insert(bank.problems.begin(),
                             {0, true, bank.problems.empty() ? QStringLiteral("no question in the file")
                                                             : QStringLiteral("no question could be read (%1)").arg(first_problems(bank))});
    return bank;
}

QByteArray export_bank(const ImportedBank &bank, BankFormat format)
{
    switch (format) {
    case BankFormat::Json:
        return export_json(bank);
    case BankFormat::Aiken:
        return export_aiken(bank);
    case BankFormat::Gift:
        return export_gift(bank);
    case BankFormat::MoodleXml:
        return export_moodle_xml(bank);
    }
    return {};
}
