// GIFT: questions separated by blank lines, "//" comments, an optional
// "::title::" and "[format]", the answers between braces: "=" right, "~"
// wrong, "~%50%" weighted, "#" feedback of the answer before it, "####" the
// general feedback; "{T}"/"{F}" true or false, "{=a =b}" a short answer.
// "$CATEGORY: path" sets the topic of the questions after it. "{=a -> 1
// =b -> 2 = -> 3}" pairs stems with meanings, "3" offered to none.
#include "bank/formats/bank_text.h"
#include "bank/formats/format_parts.h"
#include "bank/formats/import_builder.h"

#include <QRegularExpression>
#include <cmath>
#include <algorithm>

namespace {

const QLatin1String kCategory("$CATEGORY:");
// More answers than any question could keep, even a typed one whose
// partial-credit answers are dropped.
constexpr size_t kMaxAnswers = 100;

// Index of the first unescaped occurrence of what at or after from, or -1.
qsizetype find_plain(QStringView text, QStringView what, qsizetype from = 0)
{
    for (qsizetype k = from; k < text.size(); ++k) {
        if (text.at(k) == QLatin1Char('\\'))
            ++k;
        else if (text.at(k) == what.front() && text.mid(k).startsWith(what))
            return k;
    }
    return -1;
}

qsizetype find_plain(QStringView text, char what, qsizetype from = 0)
{
    const QChar c = QLatin1Char(what);
    return find_plain(text, QStringView(&c, 1), from);
}

QString unescape(QStringView text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c != QLatin1Char('\\') || k + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text.at(++k);
        if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (QStringLiteral("~=#{}:%\\").contains(next))
            out += next;
        else
            out += c, out += next;
    }
    return out;
}

// Reads one block of text (one question) into the bank.
class GiftQuestion {
public:
    GiftQuestion(ImportedBank &bank, const QString &topic, int line) : bank_(bank)
    {
        draft_.line = line;
        draft_.record.topic = topic;
    }

    void read(QStringView block)
    {
        const QStringView whole = block;
        if (block.startsWith(QLatin1String("::"))) {
            const qsizetype end = find_plain(block, u"::", 2);
            if (end < 0)
                return skip(QStringLiteral("the title is not closed with ::"));
            block = block.mid(end + 2).trimmed();
        }
        static const QRegularExpression format(QStringLiteral("^\\[(html|moodle|plain|markdown)\\]"));
        if (const auto match = format.match(block); match.hasMatch()) {
            html_ = match.captured(1) == QLatin1String("html");
            format_given_ = true;
            block = block.mid(match.capturedLength()).trimmed();
        }
        const qsizetype open = find_plain(block, '{');
        if (open < 0 && find_plain(block, '}') >= 0)
            return skip(QStringLiteral("a } without its {: a blank line inside the answers of the question before "
                                       "ended it early (answers are written without blank lines)"));
        if (open < 0)
            return skip(QStringLiteral("a description without answers is not a question"));
        const qsizetype close = find_plain(block, '}', open);
        if (close < 0)
            return skip(QStringLiteral("the answers are not closed with } before the blank line or the end of the file "
                                       "that ends the question"));
        if (find_plain(block.left(close), '{', open + 1) >= 0)
            return skip(QStringLiteral("a { inside the answers: the ones before are not closed with }"));
        // A second question run on without the blank line that ends the first.
        if (find_plain(block, '{', close + 1) >= 0) {
            const qsizetype at = block.data() - whole.data() + close + 1;
            const qsizetype next = whole.indexOf(QLatin1Char('\n'), at);
            if (next < 0 || whole.mid(at, next - at).trimmed().size() > 0)
                return skip(QStringLiteral("two sets of answers on one line: a question has one"));
            return skip(QStringLiteral("no blank line before line %1: the question there runs on from this one")
                            .arg(draft_.line + int(whole.left(next).count(QLatin1Char('\n'))) + 1));
        }
        QString question = text(block.left(open));
        const QString after = text(block.mid(close + 1));
        if (!after.isEmpty())
            question += QLatin1String(" _____ ") + after;
        draft_.record.question = question;
        // The formatting of a question whose text comes before its answers.
        if (const QString raw = unescape(block.left(open)).trimmed(); after.isEmpty() && in_html(raw))
            draft_.record.question_html = raw;
        read_answers(block.mid(open + 1, close - open - 1).trimmed());
    }

private:
    // Unescaped, and plain text when the question is written in HTML: said
    // so by [html], or, without a format, with HTML tags in the text.
    QString text(QStringView raw)
    {
        const QString plain = unescape(raw).trimmed();
        if (!in_html(plain))
            return with_line_breaks(plain);
        PlainText converted = html_to_plain(plain);
        draft_.diagrams << converted.pictures;
        return converted.text;
    }

    bool in_html(const QString &text) const { return format_given_ ? html_ : looks_like_html(text); }

    void read_answers(QStringView body)
    {
        if (body.isEmpty())
            return skip(QStringLiteral("essay questions are not supported"));
        const bool numerical = body.startsWith(QLatin1Char('#'));
        if (numerical)
            body = body.mid(1).trimmed();
        const qsizetype general = find_plain(body, u"####");
        if (general >= 0) {
            draft_.record.explanation = text(body.mid(general + 4));
            body = body.left(general).trimmed();
        }
        if (numerical)
            read_numerical(body);
        else if (!read_true_false(body))
            read_choices(body);
    }

    // After the "#": one value ("3.14:0.01", "1..5", "3"), or several, each
    // after "=" with an optional weight and feedback ("~" for a wrong one).
    void read_numerical(QStringView body)
    {
        const bool several = body.startsWith(QLatin1Char('=')) || body.startsWith(QLatin1Char('~'));
        std::vector<qsizetype> starts{0};
        if (several) {
            starts = answer_starts(body);
            if (starts.size() > kMaxAnswers)
                return skip(QStringLiteral("%1 answers: more than %2").arg(starts.size()).arg(max_answers));
        }
        for (size_t n = 0; n < starts.size(); ++n) {
            const QStringView part = several ? part_at(body, starts, n) : body;
            DraftAnswer value = several ? answer(part.mid(1), part.front() == QLatin1Char('=')) : answer(part, true);
            if (!read_value(value))
                return skip(QStringLiteral("the tolerance of %1 is not a number").arg(value.text.left(40)));
            draft_.answers.push_back(value);
        }
        draft_.typed = draft_.numerical = draft_.one_right = true;
        add_question(bank_, std::move(draft_));
    }

    // "3.14:0.01" or "1..5" into a value and its tolerance; false when the
    // tolerance or a bound is not a number (a value that is not is told later).
    static bool read_value(DraftAnswer &answer)
    {
        bool ok = true;
        const qsizetype colon = answer.text.indexOf(QLatin1Char(':'));
        const qsizetype dots = answer.text.indexOf(QLatin1String(".."));
        if (colon >= 0) {
            answer.tolerance = answer.text.mid(colon + 1).trimmed().toDouble(&ok);
            answer.text = answer.text.left(colon).trimmed();
        } else if (dots >= 0) {
            bool low_ok = false;
            const double low = answer.text.left(dots).trimmed().toDouble(&low_ok);
            const double high = answer.text.mid(dots + 2).trimmed().toDouble(&ok);
            ok = ok && low_ok;
            answer.text = QString::number((low + high) / 2, 'g', 15);
            answer.tolerance = std::abs(high - low) / 2;
        }
        return ok && std::isfinite(answer.tolerance);
    }

    // {T}, {TRUE}, {F} or {FALSE}, then feedback for a wrong and for a right answer.
    bool read_true_false(QStringView body)
    {
        const qsizetype hash = find_plain(body, '#');
        const QStringView word = body.left(hash < 0 ? body.size() : hash).trimmed();
        const auto is = [word](const char *name) { return word.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
        if (!is("T") && !is("TRUE") && !is("F") && !is("FALSE"))
            return false;
        QString wrong, right;
        if (hash >= 0) {
            const qsizetype second = find_plain(body, '#', hash + 1);
            wrong = text(body.mid(hash + 1, second < 0 ? -1 : second - hash - 1));
            if (second >= 0)
                right = text(body.mid(second + 1));
        }
        const bool is_true = is("T") || is("TRUE");
        draft_.answers = {{QStringLiteral("True"), is_true ? 100.0 : 0.0, is_true ? right : wrong},
                          {QStringLiteral("False"), is_true ? 0.0 : 100.0, is_true ? wrong : right}};
        draft_.one_right = true;
        add_question(bank_, std::move(draft_));
        return true;
    }

    // Answer n of the body, from its "=" or "~" to the next answer.
    static QStringView part_at(QStringView body, const std::vector<qsizetype> &starts, size_t n)
    {
        const qsizetype end = n + 1 < starts.size() ? starts[n + 1] : body.size();
        return body.mid(starts[n], end - starts[n]);
    }

    // Where each answer starts: its unescaped "=" or "~". Empty when there
    // is text before the first.
    static std::vector<qsizetype> answer_starts(QStringView body)
    {
        std::vector<qsizetype> starts;
        for (qsizetype k = 0; k < body.size(); ++k) {
            const QChar c = body.at(k);
            if (c == QLatin1Char('\\'))
                ++k;
            else if (c == QLatin1Char('=') || c == QLatin1Char('~'))
                starts.push_back(k);
            else if (starts.empty() && !c.isSpace())
                return {};
        }
        return starts;
    }

    void read_choices(QStringView body)
    {
        const std::vector<qsizetype> starts = answer_starts(body);
        if (starts.empty() && !body.trimmed().isEmpty())
            return skip(QStringLiteral("text before the first answer: answers start with = or ~"));
        if (starts.empty())
            return skip(QStringLiteral("no answers between the braces"));
        // Refused before each is read: a long run of "~a" would take far more
        // memory as answers than as text.
        if (starts.size() > kMaxAnswers)
            return skip(QStringLiteral("%1 answers: more than %2").arg(starts.size()).arg(max_answers));
        int right_marks = 0;
        bool matching = true;
        for (size_t n = 0; n < starts.size(); ++n) {
            const QStringView part = part_at(body, starts, n);
            // An empty answer ("~" right before "=right") is dropped, as the
            // platform drops it.
            if (part.mid(1).trimmed().isEmpty())
                continue;
            const bool marked_right = part.front() == QLatin1Char('=');
            right_marks += marked_right;
            // "=a -> b" pairs a matching question; a weight says it is an answer,
            // and an arrow in its #feedback does not count.
            const qsizetype feedback = find_plain(part, '#');
            matching = matching && marked_right && find_plain(part.left(feedback < 0 ? part.size() : feedback), u"->") >= 0 &&
                       !part.mid(1).trimmed().startsWith(QLatin1Char('%'));
            draft_.answers.push_back(answer(part.mid(1), marked_right));
        }
        if (draft_.answers.empty())
            return skip(QStringLiteral("no answers between the braces"));
        if (matching)
            return read_pairs(body, starts);
        draft_.typed = right_marks == int(draft_.answers.size());
        draft_.one_right = right_marks > 0;
        add_question(bank_, std::move(draft_));
    }

    // "=stem -> meaning" each, split at the first "->" as the platform
    // splits it; "= -> meaning" a distractor. The platform's pairs have no
    // feedback (it would show "#..." as part of the meaning): left out, told.
    void read_pairs(QStringView body, const std::vector<qsizetype> &starts)
    {
        draft_.answers.clear();
        bool feedback = false;
        for (size_t n = 0; n < starts.size(); ++n) {
            QStringView pair = part_at(body, starts, n).mid(1);
            const qsizetype hash = find_plain(pair, '#');
            feedback = feedback || hash >= 0;
            pair = pair.left(hash < 0 ? pair.size() : hash);
            const qsizetype arrow = find_plain(pair, u"->");
            if (arrow < 0)
                continue;  // an empty answer, dropped as in a choice
            DraftAnswer answer;
            answer.text = text(pair.left(arrow));
            answer.match = text(pair.mid(arrow + 2));
            draft_.answers.push_back(answer);
        }
        if (feedback)
            report(bank_, draft_.line, false, QStringLiteral("a matching pair has no feedback: the text after # is left out"));
        draft_.matching = true;
        add_question(bank_, std::move(draft_));
    }

    // One answer after its = or ~: an optional %weight%, the text, #feedback.
    DraftAnswer answer(QStringView part, bool marked_right)
    {
        DraftAnswer answer;
        answer.fraction = marked_right ? 100 : 0;
        part = part.trimmed();
        if (part.startsWith(QLatin1Char('%'))) {
            const qsizetype end = part.indexOf(QLatin1Char('%'), 1);
            bool ok = false;
            const double weight = end > 0 ? part.mid(1, end - 1).toDouble(&ok) : 0;
            if (ok) {
                answer.fraction = weight;
                part = part.mid(end + 1);
            }
        }
        const qsizetype hash = find_plain(part, '#');
        answer.text = text(part.left(hash < 0 ? part.size() : hash));
        if (hash >= 0)
            answer.feedback = text(part.mid(hash + 1));
        return answer;
    }

    void skip(const QString &why) { report(bank_, draft_.line, true, why); }

    ImportedBank &bank_;
    DraftQuestion draft_;
    bool html_ = false;
    bool format_given_ = false;
};

// The bank's title and author, in comments before the first question as
// the exporter writes them: "// Title: ..." and "// Author: ...".
const QLatin1String kTitle("// Title: "), kAuthor("// Author: ");

void read_heading(QStringView comment, ImportedBank &bank)
{
    const auto value = [comment](QLatin1String key) { return clean_text(comment.sliced(key.size()).trimmed().toString()); };
    const QLatin1String title("Title:"), author("Author:");
    if (comment.startsWith(title, Qt::CaseInsensitive))
        bank.title = value(title);
    else if (comment.startsWith(author, Qt::CaseInsensitive))
        bank.author = value(author);
}

bool is_comment(QStringView line)
{
    return line.trimmed().startsWith(QLatin1String("//"));
}

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c == QLatin1Char('\r') && k + 1 < text.size() && text.at(k + 1) == QLatin1Char('\n'))
            continue;  // the LF of CR LF writes the line end
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            out += QLatin1String("\\n");
        else if (QStringView(u"~=#{}:\\").contains(c))
            out += QLatin1Char('\\'), out += c;
        else
            out += c;
    }
    return out;
}

QString weight(double percent)
{
    QString number = QString::number(percent, 'f', 5);
    while (number.endsWith(QLatin1Char('0')))
        number.chop(1);
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    return QLatin1Char('%') + number + QLatin1Char('%');
}

// Whether a text of the question would read back as HTML.
bool holds_html_tags(const question_record &record)
{
    const auto tagged = [](const auto &texts) {
        return std::any_of(texts.begin(), texts.end(), [](const QString &t) { return looks_like_html(t); });
    };
    return looks_like_html(record.question) || looks_like_html(record.explanation) || tagged(record.answers) ||
           tagged(record.answer_feedback) || tagged(record.matches);
}

// "=", "~" or either with a weight, as answer k reads back with its credit:
// a typed question's answers all "=" (a weight when not full credit); a
// choice of one answer "=" for the right one and "~" for the others; of
// several answers "~" with each one's weight.
QString answer_mark(const question_record &record, size_t k)
{
    const QString &answer = record.answers[k];
    const double credit = answer_weight(record, k);
    const bool typed = is_typed_question(record);
    const bool equals = typed || (record.correct[k] == 1 && one_to_choose(record));
    // A weight written out also keeps a text starting with "%" from reading
    // as one, and a typed "a -> b" from reading as a matching pair.
    const bool as_marked = equals ? credit >= full_credit : credit == 0;
    const bool weighted = !as_marked || answer.startsWith(QLatin1Char('%')) ||
                          (typed && answer.contains(QLatin1String("->")));
    return (equals ? QStringLiteral("=") : QStringLiteral("~")) + (weighted ? weight(credit) : QString());
}

// A question's answers, one a line, each with its mark, a numerical one's
// tolerance and its feedback.
template <typename Text>
QString answer_lines(const question_record &record, const Text &text)
{
    QString out;
    for (size_t k = 1; k <= max_answers && !record.answers[k].isEmpty(); ++k) {
        out += QLatin1Char('\t') + answer_mark(record, k) + text(record.answers[k]);
        if (is_numerical_question(record) && record.tolerances[k] != 0)
            out += QLatin1Char(':') + QString::number(record.tolerances[k], 'g', 15);
        if (!record.answer_feedback[k].isEmpty())
            out += QLatin1Char('#') + text(record.answer_feedback[k]);
        out += QLatin1Char('\n');
    }
    return out;
}

// A matching question's lines: "=stem -> meaning", then "= -> meaning" for
// each distractor. GIFT cannot escape "->", and a pair splits at its first:
// one in a stem is written as an arrow character (converting warns of it).
// A stem starting with "%" would read as a weighted typed answer: written
// "\%", which this program reads as "%" (the platform shows the backslash).
template <typename Text>
QString pairs(const question_record &record, const Text &text)
{
    QString out;
    for (size_t k = 1; k <= max_answers && !record.matches[k].isEmpty(); ++k) {
        QString stem = text(QString(record.answers[k]).replace(QLatin1String("->"), QStringLiteral("\u2192")));
        if (stem.startsWith(QLatin1Char('%')))
            stem.prepend(QLatin1Char('\\'));
        out += QLatin1String("\t=") + stem + QLatin1String(" -> ") + text(record.matches[k]) + QLatin1Char('\n');
    }
    return out;
}

} // namespace

ImportedBank import_gift(const QString &text)
{
    ImportedBank bank;
    QString topic;
    QString block;
    int block_line = 0;
    const auto finish = [&] {
        if (!block.trimmed().isEmpty())
            GiftQuestion(bank, topic, block_line).read(QStringView(block).trimmed());
        block.clear();
    };
    int number = 0;
    bool started = false;  // a question or category seen: comments are no longer the heading
    for (const QStringView line : text_lines(text)) {
        ++number;
        if (is_comment(line)) {
            if (!started)
                read_heading(line.trimmed().mid(2).trimmed(), bank);
            continue;
        }
        started = started || !line.trimmed().isEmpty();
        // A blank line ends a question, as on the learning platforms.
        if (line.trimmed().isEmpty()) {
            finish();
        } else if (block.isEmpty() && line.trimmed().startsWith(kCategory)) {
            topic = category_topic(line.trimmed().mid(kCategory.size()).toString());
        } else {
            if (block.isEmpty())
                block_line = number;
            block += line.trimmed().toString() + QLatin1Char('\n');
        }
    }
    finish();
    return bank;
}

QByteArray export_gift(const ImportedBank &bank)
{
    QString out;
    if (!bank.title.isEmpty())
        out += kTitle + QString(bank.title).simplified() + QLatin1Char('\n');
    if (!bank.author.isEmpty())
        out += kAuthor + QString(bank.author).simplified() + QLatin1Char('\n');
    QString topic;
    int number = 0;
    for (const question_record &record : bank.questions) {
        if (is_lab_question(record))
            continue;  // no place for a lab; the converter warns of it
        if (record.topic != topic) {
            topic = record.topic;
            out += QLatin1String("\n$CATEGORY: $course$/top/") + category_path(topic) + QLatin1Char('\n');
        }
        // Diagrams can only be named, as pictures of an HTML question text;
        // the platform asks for the files themselves.
        const bool html = !record.diagrams[1].isEmpty() || !record.question_html.isEmpty();
        const auto text = [html](const QString &plain) { return escaped(html ? plain_to_html(plain) : plain); };
        QString question = record.question;
        if (html) {
            question = record.question_html.isEmpty() ? plain_to_html(question) : record.question_html;
            for (size_t k = 1; k <= 3; ++k) {
                if (!record.diagrams[k].isEmpty())
                    question += QLatin1String("<br>") + picture_tag(record.diagrams[k]);
            }
        }
        // A text that starts like a format mark, or holds what would read as
        // HTML, gets a format of its own, so that it reads back as written.
        static const QRegularExpression format_mark(QStringLiteral("^\\[(html|moodle|plain|markdown)\\]"));
        const QLatin1String mark = html                                  ? QLatin1String("[html]")
                                   : holds_html_tags(record)             ? QLatin1String("[plain]")
                                   : format_mark.match(question).hasMatch() ? QLatin1String("[moodle]")
                                                                           : QLatin1String();
        const bool numerical = is_numerical_question(record);
        out += QStringLiteral("\n::Q%1::").arg(++number) + mark + escaped(question) +
               (numerical ? QLatin1String(" {#\n") : QLatin1String(" {\n"));
        out += is_matching_question(record) ? pairs(record, text) : answer_lines(record, text);
        if (!record.explanation.isEmpty())
            out += QLatin1String("\t####") + text(record.explanation) + QLatin1Char('\n');
        out += QLatin1String("}\n");
    }
    return out.toUtf8();
}
