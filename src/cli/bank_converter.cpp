#include "cli/bank_converter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <algorithm>

namespace {

// A file name for an embedded picture that cannot leave the output's folder
// nor meet another picture's file.
QString picture_file_name(const QString &stem, const QString &name, QSet<QString> &taken)
{
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    QString safe = QFileInfo(name).fileName().replace(unsafe, QStringLiteral("_"));
    while (safe.startsWith(QLatin1Char('.')))
        safe.remove(0, 1);
    if (safe.isEmpty())
        safe = QStringLiteral("picture");
    const QFileInfo parts(safe);
    const QString suffix = parts.suffix().isEmpty() ? QString() : QLatin1Char('.') + parts.suffix();
    QString candidate = stem + QLatin1Char('-') + safe;
    for (int n = 2; taken.contains(candidate); ++n)
        candidate = QStringLiteral("%1-%2-%3%4").arg(stem, parts.completeBaseName()).arg(n).arg(suffix);
    taken.insert(candidate);
    return candidate;
}

QString save(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
    return QString();
}

// Writes each embedded picture beside output and names those files in the
// records' diagrams instead; the error when one cannot be written.
QString write_pictures_beside(ImportedBank &bank, const QString &output)
{
    const QFileInfo target(output);
    const QDir folder = target.absoluteDir();
    QStringList names = bank.pictures.keys();
    std::sort(names.begin(), names.end());
    QSet<QString> taken{target.fileName()};
    QHash<QString, QString> written_as;
    for (const QString &name : names) {
        const QString file = picture_file_name(target.completeBaseName(), name, taken);
        if (const QString error = save(folder.filePath(file), bank.pictures.value(name)); !error.isEmpty())
            return error;
        written_as.insert(name, file);
    }
    for (question_record &record : bank.questions) {
        for (QString &diagram : record.diagrams)
            diagram = written_as.value(diagram, diagram);
    }
    bank.pictures.clear();
    return QString();
}

} // namespace

std::optional<BankFormat> exported_format(const QString &word)
{
    const std::optional<BankFormat> format = format_from_name(word);
    if (format == BankFormat::Aiken)
        return std::nullopt;
    return format;
}

ConversionResult convert_bank(ImportedBank bank, BankFormat format, const QString &output, QIODevice &out)
{
    ConversionResult result;
    // Moodle XML carries the pictures inside the file, as a learning
    // platform imports them; the other formats can only name files.
    if (format != BankFormat::MoodleXml && !bank.pictures.isEmpty()) {
        if (output.isEmpty()) {
            result.messages << QStringLiteral("%1 embedded pictures are not written to standard output; give "
                                              "--output to write them beside the converted bank")
                                   .arg(bank.pictures.size());
        } else if (const QString error = write_pictures_beside(bank, output); !error.isEmpty()) {
            result.messages << error;
            return result;
        }
    }
    const QByteArray bytes = export_bank(bank, format);
    if (output.isEmpty()) {
        result.written = out.write(bytes) == bytes.size();
        if (!result.written)
            result.messages << QStringLiteral("standard output cannot be written");
    } else if (const QString error = save(output, bytes); !error.isEmpty()) {
        result.messages << error;
    } else {
        result.written = true;
    }
    return result;
}
