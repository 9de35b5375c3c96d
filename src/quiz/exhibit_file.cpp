#include "exhibit_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// An exhibit is a page of text; anything larger is cut here so that a huge
// file cannot exhaust memory or freeze the window.
constexpr qint64 kMaxExhibitBytes = 32 * 1024 * 1024;

QString decode(const QByteArray &bytes)
{
    // Stateless, so that a sequence cut short by the end of the file counts
    // as an error instead of being held back and dropped.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    text.replace(QChar(0), QChar::ReplacementCharacter);
    return text;
}

} // namespace

QString local_file_path(const QString &name)
{
    return name.startsWith(QLatin1Char(':')) ? QLatin1String("./") + name : name;
}

bool is_readable_file(const QString &name)
{
    if (name.trimmed().isEmpty())
        return false;
    const QFileInfo info(local_file_path(name));
    return info.isFile() && info.isReadable();
}

std::optional<QString> read_exhibit(const QString &name)
{
    if (!is_readable_file(name))
        return std::nullopt;
    QFile file(local_file_path(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxExhibitBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;

    const QString text = decode(bytes);
    QString lines;
    lines.reserve(text.size() + text.size() / 16 + 2);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        if (end > start && text.at(end - 1) == QLatin1Char('\r'))
            --end;
        lines.append(QStringView(text).mid(start, end - start));
        lines.append(QLatin1String("\r\n"));
        start = next;
    }
    return lines;
}
