#include "quiz/exhibit_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>

#include <cstring>

namespace {

// Bytes at the end that begin a UTF-8 character the cut left unfinished.
qsizetype unfinished_utf8_tail(QByteArrayView bytes)
{
    for (qsizetype back = 1; back <= std::min<qsizetype>(4, bytes.size()); ++back) {
        const uchar c = uchar(bytes.at(bytes.size() - back));
        if ((c & 0xC0) == 0x80)
            continue;
        const qsizetype length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

// LF bytes, found by memchr: fast on long lines too.
qsizetype line_end_count(QByteArrayView bytes)
{
    qsizetype count = 0;
    if (bytes.isEmpty())
        return count;
    const char *end = bytes.data() + bytes.size();
    for (const char *at = bytes.data(); (at = static_cast<const char *>(std::memchr(at, '\n', end - at))); ++at)
        ++count;
    return count;
}

} // namespace

QString exhibit_cut_note(qint64 shown_bytes, qint64 file_bytes)
{
    const QLocale locale;
    return QStringLiteral("[Cut here: the first %1 of the file's %2 are shown.]")
        .arg(locale.formattedDataSize(shown_bytes), locale.formattedDataSize(file_bytes));
}

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

std::optional<QString> read_exhibit(const QString &name, const QString &folder, qint64 max_bytes)
{
    if (!is_readable_file(name, folder))
        return std::nullopt;
    QFile file(local_file_path(name, folder));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 file_bytes = file.size();
    QByteArray bytes = file.read(std::min(file_bytes, max_bytes));
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    const bool cut = bytes.size() < file_bytes;
    if (cut)
        bytes.chop(unfinished_utf8_tail(bytes));
    const QString note = cut ? exhibit_cut_note(bytes.size(), file_bytes) + QLatin1String("\r\n") : QString();

    // UTF-8, or Latin-1 for older files that are not valid UTF-8. LF is one
    // byte in both, so the lines are found in the bytes and each is decoded
    // straight into the result: one pass, and no intermediate copy of a
    // large file.
    const bool utf8 = QUtf8StringView(bytes).isValidUtf8();
    QStringDecoder decoder(utf8 ? QStringDecoder::Utf8 : QStringDecoder::Latin1, QStringDecoder::Flag::Stateless);
    // Decoding never yields more UTF-16 units than bytes; each line end may
    // grow by one (LF to CR LF), and a last line without one gains two.
    QString lines(bytes.size() + line_end_count(bytes) + 2 + note.size(), Qt::Uninitialized);
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
    lines += note;
    return lines;
}
