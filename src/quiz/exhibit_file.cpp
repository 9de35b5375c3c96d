#include "exhibit_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// An exhibit is a page of text; anything larger is cut here so that a huge
// file cannot exhaust memory or freeze the window.
constexpr qint64 kMaxExhibitBytes = 32 * 1024 * 1024;

} // namespace

QString local_file_path(const QString &name, const QString &folder)
{
    const QString relative = name.startsWith(QLatin1Char(':')) ? QLatin1String("./") + name : name;
    return folder.isEmpty() ? relative : QDir(folder).filePath(relative);
}

bool is_readable_file(const QString &name, const QString &folder)
{
    if (name.trimmed().isEmpty())
        return false;
    const QFileInfo info(local_file_path(name, folder));
    return info.isFile() && info.isReadable();
}

std::optional<QString> read_exhibit(const QString &name, const QString &folder)
{
    if (!is_readable_file(name, folder))
        return std::nullopt;
    QFile file(local_file_path(name, folder));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(std::min(file.size(), kMaxExhibitBytes));
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;

    // UTF-8, or Latin-1 for older files that are not valid UTF-8. LF is one
    // byte in both, so the lines are found in the bytes and each is decoded
    // straight into the result: one pass, and no intermediate copy of a
    // large file.
    const bool utf8 = QUtf8StringView(bytes).isValidUtf8();
    QStringDecoder decoder(utf8 ? QStringDecoder::Utf8 : QStringDecoder::Latin1, QStringDecoder::Flag::Stateless);
    // Decoding never yields more UTF-16 units than bytes; each line end may
    // grow by one (LF to CR LF), and a last line without one gains two.
    QString lines(bytes.size() + bytes.count('\n') + 2, Qt::Uninitialized);
    QChar *out = lines.data();
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        if (end > start && bytes.at(end - 1) == '\r')
            --end;
        out = decoder.appendToBuffer(out, QByteArrayView(bytes).sliced(start, end - start));
        *out++ = QLatin1Char('\r');
        *out++ = QLatin1Char('\n');
        start = next;
    }
    lines.truncate(out - lines.constData());
    if (bytes.contains('\0'))
        lines.replace(QChar(0), QChar::ReplacementCharacter);
    return lines;
}
