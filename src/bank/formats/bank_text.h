#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Text helpers shared by the importers and exporters.

// How lines are joined inside a record's texts.
inline const QString &line_break()
{
    static const QString text = QStringLiteral("\r\n");
    return text;
}

// The text of a bank file: UTF-16 or UTF-8 with a byte order mark, else
// UTF-8. When the bytes are not all valid UTF-8, each line is decoded as well
// as it can be: as UTF-8 when it is valid, else as Latin-1 when it holds no
// UTF-8 character at all, else as UTF-8 with U+FFFD for each invalid byte;
// those lines are listed, numbered as text_lines numbers them.
struct DecodedText {
    QString text;
    std::vector<int> latin1_lines;
    std::vector<int> mended_lines;
};
DecodedText decode_text(const QByteArray &bytes);

// The lines of a text, ended by LF, CR LF or CR alone (an old Mac file).
QList<QStringView> text_lines(QStringView text);

// The text with each line end (LF, CR LF or CR) made CR LF, in one pass.
QString with_line_breaks(QStringView text);

// The text with each line end replaced, in one pass.
QString replace_line_ends(QStringView text, QStringView by);

// True when the bytes hold NUL bytes without a UTF-16 byte order mark: no
// text format bank looks like that.
bool looks_binary(const QByteArray &bytes);

// The text with what no format can carry replaced: control characters
// other than tab, CR and LF, and the invisible U+FEFF, by a space; unpaired
// surrogates and the non-characters U+FFFE and U+FFFF by U+FFFD.
QString clean_text(const QString &text);

// Plain text from HTML: tags dropped, entities decoded, runs of white space
// one space, <br> and block ends line breaks (CR LF), lines trimmed. The
// pictures named by <img src="@@PLUGINFILE@@/name"> (or a plain file name)
// are gathered in order, each with its alt text ("" where it has none).
struct PlainText {
    QString text;
    QStringList pictures;
    QStringList picture_texts;  // beside pictures: what each shows, in words
};
PlainText html_to_plain(const QString &html);

// The inline formatting of HTML (bold, italic, underline, struck, sub- and
// superscript, code) as HTML of those tags alone, without attributes, for
// the question window to show: the text as html_to_plain reads it, line
// ends as <br>, everything else left out, so nothing is fetched or run.
// Empty when the HTML formats nothing. Reading its own output gives it back.
QString formatted_html(const QString &html);

// Whether a text with no format of its own holds HTML: a tag of the few
// that texts are formatted with (<i>, <b>, <p>, <br>, <div>, <span>,
// <code>...). Read as HTML (html_to_plain), such a text is shown as the
// platform shows it, its tags not as characters; nothing it names is
// fetched.
bool looks_like_html(QStringView text);

// The reverse for the exporters: & < > " escaped, line breaks as <br>, spaces
// at a line's start and all but the first of a run as &nbsp;.
QString plain_to_html(const QString &text);

// An HTML picture of a file embedded beside the text, as the learning
// platform writes it: <img src="@@PLUGINFILE@@/name">.
QString picture_tag(const QString &name);

// The 1-based lines of byte offsets asked in increasing order, counted in
// one pass over the bytes.
class LineCounter {
public:
    explicit LineCounter(const QByteArray &bytes) : bytes_(bytes) {}
    int line_at(qsizetype offset);

private:
    const QByteArray &bytes_;
    qsizetype counted_ = 0;  // bytes looked at so far
    int line_ = 1;
};
