#include "bank/formats/bank_text.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QLatin1String kPluginFile("@@PLUGINFILE@@/");
// What &nbsp; reads as until the lines are tidied: a space that stays, as
// the exporters write runs of spaces and indents that way.
const QChar kNoBreakSpace(0xA0);

bool has_utf16_mark(const QByteArray &bytes)
{
    return bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff");
}

bool is_block_tag(QStringView name)
{
    static const char *const blocks[] = {"p",  "div", "li", "tr", "ul", "ol", "blockquote", "pre",
                                         "h1", "h2",  "h3", "h4", "h5", "h6", "table",      "hr"};
    return std::any_of(std::begin(blocks), std::end(blocks),
                       [name](const char *block) { return name.compare(QLatin1String(block), Qt::CaseInsensitive) == 0; });
}

// The value of one attribute inside a tag's text, quoted or not.
QString attribute(QStringView tag, QLatin1String name)
{
    qsizetype at = 0;
    while ((at = tag.indexOf(name, at, Qt::CaseInsensitive)) >= 0) {
        qsizetype k = at + name.size();
        const bool whole = at > 0 && tag.at(at - 1).isSpace();
        while (k < tag.size() && tag.at(k).isSpace())
            ++k;
        if (!whole || k >= tag.size() || tag.at(k) != QLatin1Char('=')) {
            at += name.size();
            continue;
        }
        ++k;
        while (k < tag.size() && tag.at(k).isSpace())
            ++k;
        if (k < tag.size() && (tag.at(k) == QLatin1Char('"') || tag.at(k) == QLatin1Char('\''))) {
            const qsizetype end = tag.indexOf(tag.at(k), k + 1);
            return tag.mid(k + 1, end < 0 ? -1 : end - k - 1).toString();
        }
        qsizetype end = k;
        while (end < tag.size() && !tag.at(end).isSpace() && tag.at(end) != QLatin1Char('/'))
            ++end;
        return tag.mid(k, end - k).toString();
    }
    return {};
}

// Decodes the entity starting at html[at] ('&') into out; returns the
// index after it, or at + 1 with a literal '&' when it is none.
qsizetype decode_entity(const QString &html, qsizetype at, QString &out)
{
    // Entities are short: looking further would make a text full of '&'
    // take quadratic time.
    const qsizetype semicolon = QStringView(html).mid(at + 1, 12).indexOf(QLatin1Char(';'));
    const qsizetype end = semicolon < 0 ? -1 : at + 1 + semicolon;
    if (end < 0) {
        out += QLatin1Char('&');
        return at + 1;
    }
    const QStringView name = QStringView(html).mid(at + 1, end - at - 1);
    static const QHash<QString, QChar> named = {
        {QStringLiteral("amp"), QLatin1Char('&')},   {QStringLiteral("lt"), QLatin1Char('<')},
        {QStringLiteral("gt"), QLatin1Char('>')},    {QStringLiteral("quot"), QLatin1Char('"')},
        {QStringLiteral("apos"), QLatin1Char('\'')}, {QStringLiteral("nbsp"), kNoBreakSpace}};
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint code = name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive) ? name.mid(2).toUInt(&ok, 16)
                                                                                     : name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code < 0xE000)) {
            out += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
            return end + 1;
        }
    } else if (const auto found = named.constFind(name.toString()); found != named.constEnd()) {
        out += found.value();
        return end + 1;
    }
    out += QLatin1Char('&');
    return at + 1;
}

// An attribute's value as text: entities decoded, white space one space.
QString attribute_text(const QString &value)
{
    QString out;
    for (qsizetype k = 0; k < value.size();) {
        if (value.at(k) == QLatin1Char('&'))
            k = decode_entity(value, k, out);
        else
            out += value.at(k++);
    }
    return out.simplified();
}

// The line without the white space around it, but for no-break spaces.
QString trimmed_line(QStringView line)
{
    const auto loose = [](QChar c) { return c.isSpace() && c != kNoBreakSpace; };
    qsizetype start = 0, end = line.size();
    while (start < end && loose(line.at(start)))
        ++start;
    while (end > start && loose(line.at(end - 1)))
        --end;
    return line.sliced(start, end - start).toString().replace(kNoBreakSpace, QLatin1Char(' '));
}

// Lines trimmed, runs of empty lines one, none at either end, joined by CR LF.
QString tidy_lines(const QString &text)
{
    QStringList lines;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const QString trimmed = trimmed_line(line);
        if (!trimmed.isEmpty() || (!lines.isEmpty() && !lines.last().isEmpty()))
            lines << trimmed;
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(line_break());
}

// True when the text reads the same as HTML and as plain text: no markup,
// no entity, no white space but single spaces inside. Most answers are so.
bool is_plain(const QString &text)
{
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c == QLatin1Char('<') || c == QLatin1Char('&') ||
            (c.isSpace() && (c != QLatin1Char(' ') || k == 0 || k + 1 == text.size() || text.at(k + 1).isSpace())))
            return false;
    }
    return true;
}

} // namespace

DecodedText decode_text(const QByteArray &bytes)
{
    if (has_utf16_mark(bytes))
        return {QStringDecoder(QStringDecoder::Utf16).decode(bytes), {}, {}};
    const QByteArrayView body = bytes.startsWith("\xef\xbb\xbf") ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    if (QUtf8StringView(body.data(), body.size()).isValidUtf8())
        return {QString::fromUtf8(body), {}, {}};
    DecodedText decoded;
    decoded.text.reserve(body.size());
    int number = 1;
    for (qsizetype start = 0; start <= body.size(); ++number) {
        qsizetype end = start;
        while (end < body.size() && body[end] != '\n' && body[end] != '\r')
            ++end;
        const QByteArrayView line = body.sliced(start, end - start);
        if (QUtf8StringView(line.data(), line.size()).isValidUtf8()) {
            decoded.text += QString::fromUtf8(line);
        } else {
            const QString utf8 = QString::fromUtf8(line);
            const qsizetype high = std::count_if(line.begin(), line.end(), [](char c) { return uchar(c) >= 0x80; });
            const bool no_utf8 = utf8.count(QChar(QChar::ReplacementCharacter)) == high;
            decoded.text += no_utf8 ? QString::fromLatin1(line) : utf8;
            (no_utf8 ? decoded.latin1_lines : decoded.mended_lines).push_back(number);
        }
        const qsizetype ending = end + 1 < body.size() && body[end] == '\r' && body[end + 1] == '\n' ? 2 : 1;
        if (end < body.size())
            decoded.text += QString::fromLatin1(body.sliced(end, ending));
        start = end + ending;
    }
    return decoded;
}

QList<QStringView> text_lines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        lines << text.sliced(start, k - start);
        if (c == QLatin1Char('\r') && k + 1 < text.size() && text.at(k + 1) == QLatin1Char('\n'))
            ++k;
        start = k + 1;
    }
    lines << text.sliced(start);
    return lines;
}

QString replace_line_ends(QStringView text, QStringView by)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    const QList<QStringView> lines = text_lines(text);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (n > 0)
            out += by;
        out += lines[n];
    }
    return out;
}

QString with_line_breaks(QStringView text)
{
    return replace_line_ends(text, line_break());
}

bool looks_binary(const QByteArray &bytes)
{
    return !has_utf16_mark(bytes) && bytes.contains('\0');
}

QString clean_text(const QString &text)
{
    const auto bad = [&text](qsizetype k) {
        const char16_t c = text.at(k).unicode();
        if (c < 0x20 || c == 0xFEFF)  // U+FEFF reads as a byte order mark at the start of a file
            return c != u'\t' && c != u'\r' && c != u'\n';
        if (c == 0xFFFE || c == 0xFFFF)
            return true;
        if (QChar::isHighSurrogate(c))
            return k + 1 == text.size() || !text.at(k + 1).isLowSurrogate();
        return QChar::isLowSurrogate(c) && (k == 0 || !text.at(k - 1).isHighSurrogate());
    };
    qsizetype k = 0;
    while (k < text.size() && !bad(k))
        ++k;
    if (k == text.size())
        return text;  // the usual case: nothing to copy
    QString out = text;
    for (; k < text.size(); ++k) {
        if (bad(k))
            out[k] = text.at(k).unicode() < 0x20 || text.at(k).unicode() == 0xFEFF ? QLatin1Char(' ')
                                                                                      : QChar(QChar::ReplacementCharacter);
    }
    return out;
}

namespace {

bool is_tag(QStringView name, const char *wanted)
{
    return name.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
}

// Walks HTML as the learning platforms read it: comments, and what script
// and style elements hold, are left out. Calls on_tag(name, closing, tag,
// after_space) for each tag (tag: what stands between < and >), and
// on_text(run, after_space) for each run of characters, entities decoded;
// after_space tells whether white space came since the last run.
template<typename OnTag, typename OnText>
void walk_html(const QString &html, OnTag on_tag, OnText on_text)
{
    bool space = false;
    QString decoded;
    qsizetype k = 0;
    while (k < html.size()) {
        const QChar c = html.at(k);
        if (c == QLatin1Char('<')) {
            if (QStringView(html).mid(k).startsWith(QLatin1String("<!--"))) {
                const qsizetype end = html.indexOf(QLatin1String("-->"), k + 4);
                k = end < 0 ? html.size() : end + 3;
                continue;
            }
            const qsizetype end = html.indexOf(QLatin1Char('>'), k + 1);
            if (end < 0)
                break;  // an unfinished tag at the very end is dropped
            const QStringView tag = QStringView(html).mid(k + 1, end - k - 1);
            const bool closing = tag.startsWith(QLatin1Char('/'));
            qsizetype name_end = closing ? 1 : 0;
            while (name_end < tag.size() && tag.at(name_end).isLetterOrNumber())
                ++name_end;
            const QStringView name = tag.mid(closing ? 1 : 0, name_end - (closing ? 1 : 0));
            k = end + 1;
            if (!closing && (is_tag(name, "script") || is_tag(name, "style"))) {
                const qsizetype close = html.indexOf(QLatin1String("</") + name.toString(), k, Qt::CaseInsensitive);
                k = close < 0 ? html.size() : close;
                continue;
            }
            on_tag(name, closing, tag, space);
            continue;
        }
        if (c.isSpace()) {
            space = true;
            ++k;
            continue;
        }
        if (c == QLatin1Char('&')) {
            decoded.clear();
            k = decode_entity(html, k, decoded);
            on_text(QStringView(decoded), std::exchange(space, false));
            continue;
        }
        const qsizetype start = k;  // a run of text, passed on at once
        while (k < html.size() && html.at(k) != QLatin1Char('<') && html.at(k) != QLatin1Char('&') && !html.at(k).isSpace())
            ++k;
        on_text(QStringView(html).mid(start, k - start), std::exchange(space, false));
    }
}

constexpr size_t kMostOpenFormats = 16;

// The inline formatting kept for the question window, each by one name.
QLatin1String inline_format(QStringView name)
{
    static const std::pair<const char *, const char *> formats[] = {
        {"b", "b"}, {"strong", "b"}, {"i", "i"}, {"em", "i"}, {"u", "u"}, {"sub", "sub"}, {"sup", "sup"},
        {"code", "code"}, {"tt", "code"}, {"kbd", "code"}, {"s", "s"}, {"strike", "s"}, {"del", "s"}};
    for (const auto &[from, to] : formats) {
        if (is_tag(name, from))
            return QLatin1String(to);
    }
    return QLatin1String();
}

} // namespace

PlainText html_to_plain(const QString &html)
{
    PlainText plain;
    if (is_plain(html)) {
        plain.text = html;
        return plain;
    }
    QString &out = plain.text;
    out.reserve(html.size());
    const auto line_end = [&out] { out += QLatin1Char('\n'); };
    walk_html(
        html,
        [&](QStringView name, bool closing, QStringView tag, bool) {
            if (is_tag(name, "br")) {
                line_end();
            } else if (is_block_tag(name)) {
                if (!out.isEmpty() && !out.endsWith(QLatin1Char('\n')))
                    line_end();
            } else if (!closing && is_tag(name, "img")) {
                QString source = attribute(tag, QLatin1String("src"));
                if (source.startsWith(kPluginFile))
                    source = QUrl::fromPercentEncoding(source.mid(kPluginFile.size()).toUtf8());
                if (!source.isEmpty() && !source.contains(QLatin1Char(':'))) {
                    plain.pictures << source;
                    plain.picture_texts << attribute_text(attribute(tag, QLatin1String("alt")));
                }
            }
        },
        [&](QStringView run, bool after_space) {
            if (after_space && !out.isEmpty() && !out.endsWith(QLatin1Char('\n')))
                out += QLatin1Char(' ');
            out += run;
        });
    plain.text = tidy_lines(out);
    return plain;
}

QString formatted_html(const QString &html)
{
    QString out;
    std::vector<QLatin1String> open;  // the formats open, innermost last
    bool formatted = false;
    bool spaced = false;  // the space before the next run is written already
    const auto ends_line = [&out] { return out.isEmpty() || out.endsWith(QLatin1String("<br>")); };
    walk_html(
        html,
        [&](QStringView name, bool closing, QStringView, bool after_space) {
            if (is_tag(name, "br") || is_block_tag(name)) {
                if (is_tag(name, "br") || !ends_line())
                    out += QLatin1String("<br>");
                return;
            }
            const QLatin1String format = inline_format(name);
            if (format.isEmpty())
                return;
            if (!closing) {
                // Formats nested deeper are left out: a closing tag looks
                // through the open ones, and a hostile text could open
                // thousands.
                if (open.size() >= kMostOpenFormats)
                    return;
                // "a <b>b": the space stays before the formatting.
                if (after_space && !spaced && !ends_line()) {
                    out += QLatin1Char(' ');
                    spaced = true;
                }
                open.push_back(format);
                out += QLatin1Char('<') + format + QLatin1Char('>');
                return;
            }
            // A closing tag closes what was opened inside it too; one that
            // closes nothing open is left out.
            const auto at = std::find(open.rbegin(), open.rend(), format);
            if (at == open.rend())
                return;
            for (auto k = open.rbegin(); k != std::next(at); ++k)
                out += QLatin1String("</") + *k + QLatin1Char('>');
            open.erase(std::prev(at.base()), open.end());
            formatted = true;
        },
        [&](QStringView run, bool after_space) {
            if (after_space && !spaced && !ends_line())
                out += QLatin1Char(' ');
            spaced = false;
            // A no-break space written as such stays one; as a character
            // it is white space.
            out += run.toString().toHtmlEscaped().replace(kNoBreakSpace, QLatin1String("&nbsp;"));
        });
    formatted = formatted || !open.empty();
    for (auto k = open.rbegin(); k != open.rend(); ++k)
        out += QLatin1String("</") + *k + QLatin1Char('>');
    while (out.endsWith(QLatin1String("<br>")))
        out.chop(4);
    return formatted ? out : QString();
}

bool looks_like_html(QStringView text)
{
    if (!text.contains(QLatin1Char('<')))
        return false;
    static const QRegularExpression tag(
        QStringLiteral("<(?:/?(?:b|i|u|s|em|strong|p|div|span|sub|sup|code|pre|tt|ul|ol|li|font|h[1-6]|small|big|"
                       "strike|blockquote|table|tr|td|th)(?:\\s[^<>]*)?|br\\s*/?|hr\\s*/?)>"),
        QRegularExpression::CaseInsensitiveOption);
    return tag.match(text).hasMatch();
}

QString plain_to_html(const QString &text)
{
    // HTML drops spaces at a line's start and makes a run of them one: those
    // are written as &nbsp;, so that indents and columns come back.
    const QString escaped = text.toHtmlEscaped();
    QString html;
    html.reserve(escaped.size() + escaped.size() / 8);
    const QList<QStringView> lines = text_lines(escaped);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        if (n > 0)
            html += QLatin1String("<br>");
        const QStringView line = lines[n];
        for (qsizetype k = 0; k < line.size(); ++k) {
            if (line.at(k) == QLatin1Char(' ') && (k == 0 || line.at(k - 1) == QLatin1Char(' ')))
                html += QLatin1String("&nbsp;");
            else
                html += line.at(k);
        }
    }
    return html;
}

QString picture_tag(const QString &name)
{
    return QStringLiteral("<img src=\"%1%2\">").arg(kPluginFile, QString::fromUtf8(QUrl::toPercentEncoding(name)));
}

int LineCounter::line_at(qsizetype offset)
{
    const qsizetype end = std::clamp<qsizetype>(offset, counted_, bytes_.size());
    line_ += int(QByteArrayView(bytes_).sliced(counted_, end - counted_).count('\n'));
    counted_ = end;
    return line_;
}
