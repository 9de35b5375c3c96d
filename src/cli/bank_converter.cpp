#include "cli/bank_converter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QFile>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace {

// Long enough to tell pictures apart, short enough that with the output's
// name the file name stays within what file systems allow.
constexpr int kMaxPictureStem = 64;

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
    const QString suffix = parts.suffix().isEmpty() ? QString() : QLatin1Char('.') + parts.suffix().left(8);
    const QString base = (parts.suffix().isEmpty() ? safe : parts.completeBaseName()).left(kMaxPictureStem);
    QString candidate = stem + QLatin1Char('-') + base + suffix;
    for (int n = 2; taken.contains(candidate); ++n)
        candidate = QStringLiteral("%1-%2-%3%4").arg(stem, base).arg(n).arg(suffix);
    taken.insert(candidate);
    return candidate;
}

// The files one conversion writes. Each is created new: a name that exists,
// as a file, a symbolic link (even a dangling one), a device or a FIFO, is
// refused and never written through. Unless kept, every file written is
// removed again, so that a failed conversion leaves nothing behind.
class NewFiles {
public:
    ~NewFiles()
    {
        if (!kept_) {
            for (const QString &path : std::as_const(created_))
                QFile::remove(path);
        }
    }

    // Why path cannot be created, or "".
    static QString refusal(const QString &path)
    {
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            return QStringLiteral("%1 already exists: --convert writes only new files, never over or through another "
                                  "one; remove it or choose another --output").arg(path);
        return QString();
    }

    // The error, or "" when the file was created and written whole.
    QString write(const QString &path, const QByteArray &bytes)
    {
        if (const QString refused = refusal(path); !refused.isEmpty())
            return refused;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return refusal(path).isEmpty() ? failed(path, file.errorString()) : refusal(path);
        created_ << path;
        // Written here rather than by QFile, which says "Unknown error" for a
        // full disk: the system's own words instead.
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t written = ::write(file.handle(), bytes.constData() + done, size_t(bytes.size() - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return failed(path, QString::fromLocal8Bit(std::strerror(written < 0 ? errno : ENOSPC)));
            done += written;
        }
        return QString();
    }

    void keep() { kept_ = true; }

private:
    static QString failed(const QString &path, const QString &why)
    {
        return QStringLiteral("%1 cannot be written: %2").arg(path, why);
    }

    QStringList created_;
    bool kept_ = false;
};

// Writes each embedded picture beside output and names those files in the
// records' diagrams instead; the error when one cannot be written.
QString write_pictures_beside(ImportedBank &bank, const QString &output, NewFiles &files)
{
    const QFileInfo target(output);
    const QDir folder = target.absoluteDir();
    QStringList names = bank.pictures.keys();
    std::sort(names.begin(), names.end());
    QSet<QString> taken{target.fileName()};
    QHash<QString, QString> written_as;
    for (const QString &name : names)
        written_as.insert(name, picture_file_name(target.completeBaseName(), name, taken));
    // Every name is looked at before anything is written.
    for (const QString &file : written_as) {
        if (const QString refused = NewFiles::refusal(folder.filePath(file)); !refused.isEmpty())
            return refused;
    }
    for (const QString &name : names) {
        if (const QString error = files.write(folder.filePath(written_as.value(name)), bank.pictures.value(name));
            !error.isEmpty())
            return error;
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
    NewFiles files;
    if (!output.isEmpty()) {
        if (const QString refused = NewFiles::refusal(output); !refused.isEmpty()) {
            result.messages << refused;
            return result;
        }
    }
    // Moodle XML carries the pictures inside the file, as a learning
    // platform imports them; the other formats can only name files.
    if (format != BankFormat::MoodleXml && !bank.pictures.isEmpty()) {
        if (output.isEmpty()) {
            result.messages << QStringLiteral("%1 embedded pictures are not written to standard output; give "
                                              "--output to write them beside the converted bank")
                                   .arg(bank.pictures.size());
        } else if (const QString error = write_pictures_beside(bank, output, files); !error.isEmpty()) {
            result.messages << error;
            return result;
        }
    }
    const QByteArray bytes = export_bank(bank, format);
    if (output.isEmpty()) {
        result.written = out.write(bytes) == bytes.size();
        if (!result.written)
            result.messages << QStringLiteral("standard output cannot be written");
    } else if (const QString error = files.write(output, bytes); !error.isEmpty()) {
        result.messages << error;
    } else {
        files.keep();
        result.written = true;
    }
    return result;
}
