// Moodle XML: <quiz> holding <question type="...">; texts in <text> with a
// format (HTML mostly), pictures embedded as <file encoding="base64"> and
// named in the HTML as @@PLUGINFILE@@/name, or in the older <image> and
// <image_base64>. A DTD is refused outright, so that no entity can expand;
// so is a file with an XML error anywhere.
#include "bank/formats/bank_text.h"
#include "bank/formats/format_parts.h"
#include "bank/formats/import_builder.h"

#include <QBuffer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>

namespace {

// Elements deeper than this inside a question, or more of them in one
// element, are not Moodle's: refused, which also bounds the reader's
// recursion and the memory one question takes.
constexpr int kMaxDepth = 32;
constexpr size_t kMaxChildren = 1000;

// The bank's title and author, in comments before the first question.
const QLatin1String kTitle("Title: "), kAuthor("Author: ");

void read_heading(QStringView comment, ImportedBank &bank)
{
    if (comment.startsWith(kTitle))
        bank.title = clean_text(comment.sliced(kTitle.size()).trimmed().toString());
    else if (comment.startsWith(kAuthor))
        bank.author = clean_text(comment.sliced(kAuthor.size()).trimmed().toString());
}

// One element of a question, with its text and children.
struct XmlNode {
    QString name;
    QXmlStreamAttributes attributes;
    QString text;
    std::vector<XmlNode> children;

    const XmlNode *child(QLatin1String wanted) const
    {
        for (const XmlNode &node : children) {
            if (node.name == wanted)
                return &node;
        }
        return nullptr;
    }
    QString attribute(QLatin1String wanted) const { return attributes.value(wanted).toString(); }
    // The text of <name><text>...</text></name>.
    QString text_of(QLatin1String wanted) const
    {
        const XmlNode *node = child(wanted);
        const XmlNode *inner = node ? node->child(QLatin1String("text")) : nullptr;
        return inner ? inner->text : QString();
    }
};

// Reads the element whose start the reader is at; false on an XML error.
bool read_node(QXmlStreamReader &xml, XmlNode &node, int depth)
{
    node.name = xml.name().toString();
    node.attributes = xml.attributes();
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (depth >= kMaxDepth || node.children.size() >= kMaxChildren) {
                xml.raiseError(depth >= kMaxDepth ? QStringLiteral("elements nested too deeply")
                                                  : QStringLiteral("more than %1 elements in one").arg(kMaxChildren));
                return false;
            }
            node.children.emplace_back();
            if (!read_node(xml, node.children.back(), depth + 1))
                return false;
            break;
        case QXmlStreamReader::Characters:
            if (!xml.isWhitespace())  // the indentation between elements
                node.text += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            return true;
        default:
            break;
        }
    }
    return false;
}

class MoodleReader {
public:
    explicit MoodleReader(ImportedBank &bank) : bank_(bank) {}

    void question(const XmlNode &node, int line)
    {
        const QString type = node.attribute(QLatin1String("type"));
        if (type == QLatin1String("category")) {
            topic_ = category_topic(node.text_of(QLatin1String("category")));
            return;
        }
        const bool numerical = type == QLatin1String("numerical");
        const bool matching = type == QLatin1String("matching");
        if (type != QLatin1String("multichoice") && type != QLatin1String("truefalse") &&
            type != QLatin1String("shortanswer") && !numerical && !matching) {
            report(bank_, line, true,
                   type.isEmpty() ? QStringLiteral("a question without a type")
                                  : QStringLiteral("%1 questions are not supported").arg(type.left(40)));
            return;
        }
        DraftQuestion draft;
        draft.line = line;
        draft.record.topic = topic_;
        draft.typed = type == QLatin1String("shortanswer") || numerical;
        draft.numerical = numerical;
        draft.matching = matching;
        const XmlNode *usecase = node.child(QLatin1String("usecase"));
        draft.record.case_sensitive = draft.typed && usecase && usecase->text.trimmed() == QLatin1String("1");
        const XmlNode *single = node.child(QLatin1String("single"));
        draft.one_right = type != QLatin1String("multichoice") || !single ||
                          (single->text.trimmed() != QLatin1String("false") && single->text.trimmed() != QLatin1String("0"));
        read_texts(node, draft);
        if (matching)
            read_pairs(node, draft);
        else
            read_answers(node, type, draft);
        if (numerical)
            read_units(node, draft.record);
        add_question(bank_, std::move(draft));
    }

private:
    void read_texts(const XmlNode &node, DraftQuestion &draft)
    {
        const XmlNode *question = node.child(QLatin1String("questiontext"));
        QHash<QString, QByteArray> files;
        if (question) {
            for (const XmlNode &file : question->children) {
                if (file.name == QLatin1String("file"))
                    files.insert(file.attribute(QLatin1String("name")), QByteArray::fromBase64(file.text.toLatin1()));
            }
        }
        const PlainText text = convert(question);
        draft.record.question = text.text;
        if (const XmlNode *html = html_text(question))
            draft.record.question_html = html->text;
        for (qsizetype n = 0; n < text.pictures.size(); ++n) {
            const QString &name = text.pictures.at(n);
            draft.diagrams << (files.contains(name) ? add_picture(bank_, name, files.take(name)) : name);
            // An <img>'s alt text describes its diagram to a screen reader.
            if (draft.diagrams.size() <= 3)
                draft.record.diagram_descriptions[size_t(draft.diagrams.size())] = clean_text(text.picture_texts.value(n));
        }
        for (auto file = files.cbegin(); file != files.cend(); ++file)
            draft.diagrams << add_picture(bank_, file.key(), file.value());
        const QString image = node.child(QLatin1String("image")) ? node.child(QLatin1String("image"))->text.trimmed() : QString();
        if (!image.isEmpty()) {
            const XmlNode *data = node.child(QLatin1String("image_base64"));
            draft.diagrams << (data ? add_picture(bank_, image, QByteArray::fromBase64(data->text.toLatin1())) : image);
        }
        draft.record.explanation = convert(node.child(QLatin1String("generalfeedback"))).text;
        draft.record.clue = convert(node.child(QLatin1String("hint"))).text;
    }

    void read_answers(const XmlNode &node, const QString &type, DraftQuestion &draft)
    {
        std::vector<DraftAnswer> answers;
        for (const XmlNode &answer : node.children) {
            if (answer.name != QLatin1String("answer"))
                continue;
            const XmlNode *text = answer.child(QLatin1String("text"));
            const XmlNode *tolerance = answer.child(QLatin1String("tolerance"));
            answers.push_back({draft.typed ? (text ? text->text.trimmed() : QString()) : convert(&answer).text,
                               answer.attribute(QLatin1String("fraction")).toDouble(),
                               convert(answer.child(QLatin1String("feedback"))).text,
                               tolerance ? tolerance->text.trimmed().toDouble() : 0.0});
        }
        if (type == QLatin1String("truefalse")) {
            // Whatever their order in the file: True first, then False.
            std::stable_sort(answers.begin(), answers.end(), [](const DraftAnswer &a, const DraftAnswer &b) {
                return a.text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 &&
                       b.text.compare(QLatin1String("true"), Qt::CaseInsensitive) != 0;
            });
            for (DraftAnswer &answer : answers)
                answer.text = answer.text.left(1).toUpper() + answer.text.mid(1).toLower();
        }
        draft.answers = std::move(answers);
    }

    // <subquestion format="html"><text>stem</text><answer><text>meaning</text></answer></subquestion>
    // each, a distractor with an empty stem. The platform keeps a meaning
    // as plain text, as it keeps a typed answer. Whether the meanings are
    // shuffled (<shuffleanswers>) is the student's choice here.
    static void read_pairs(const XmlNode &node, DraftQuestion &draft)
    {
        for (const XmlNode &pair : node.children) {
            if (pair.name != QLatin1String("subquestion"))
                continue;
            DraftAnswer answer;
            answer.text = convert(&pair).text;
            answer.match = pair.text_of(QLatin1String("answer"));
            draft.answers.push_back(answer);
        }
    }

    // <units><unit><multiplier>0.001</multiplier><unit_name>km</unit_name></unit>...</units>
    static void read_units(const XmlNode &node, question_record &record)
    {
        const XmlNode *units = node.child(QLatin1String("units"));
        for (const XmlNode &unit : units ? units->children : std::vector<XmlNode>()) {
            const XmlNode *name = unit.child(QLatin1String("unit_name"));
            const XmlNode *multiplier = unit.child(QLatin1String("multiplier"));
            if (name && record.units.size() < max_answers)
                record.units.push_back({name->text.trimmed(), multiplier ? multiplier->text.trimmed().toDouble() : 1.0});
        }
    }

    // The <text> of an element that holds HTML, by its format; else null.
    static const XmlNode *html_text(const XmlNode *node)
    {
        const QString format = node ? node->attribute(QLatin1String("format")) : QString();
        return format == QLatin1String("plain_text") || format == QLatin1String("markdown")
                   ? nullptr
                   : node ? node->child(QLatin1String("text")) : nullptr;
    }

    // Plain text of an element holding <text>, by its format.
    static PlainText convert(const XmlNode *node)
    {
        if (const XmlNode *html = html_text(node))
            return html_to_plain(html->text);
        const XmlNode *text = node ? node->child(QLatin1String("text")) : nullptr;
        return text ? PlainText{with_line_breaks(QStringView(text->text).trimmed()), {}, {}} : PlainText{};
    }

    ImportedBank &bank_;
    QString topic_;
};

} // namespace

ImportedBank import_moodle_xml(const QByteArray &bytes)
{
    ImportedBank bank;
    MoodleReader reader(bank);
    // Read through a device, the reader decodes the text a block at a time;
    // given the bytes whole, it decodes them whole first, and the fresh
    // memory that takes (twice the file) costs more than the reading.
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&device);
    bool root = true;
    while (!xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD) {
            report(bank, int(xml.lineNumber()), true,
                   QStringLiteral("a document type declaration (DTD) is refused: entities could expand without bound"));
            return bank;
        }
        if (token == QXmlStreamReader::Comment && !root && bank.questions.empty())
            read_heading(xml.text().trimmed(), bank);
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (root && xml.name() != QLatin1String("quiz")) {
            report(bank, int(xml.lineNumber()), true,
                   QStringLiteral("not a Moodle XML quiz: the document is <%1>, not <quiz>").arg(xml.name().left(40)));
            return bank;
        }
        root = false;
        if (xml.name() != QLatin1String("question"))
            continue;
        const int line = int(xml.lineNumber());
        XmlNode node;
        if (read_node(xml, node, 0))
            reader.question(node, line);
    }
    if (!xml.hasError())
        return bank;
    // As the learning platform does: a file that cannot be read to its end
    // is refused whole, rather than asked without the questions after the
    // fault.
    ImportedBank refused;
    const size_t read = bank.questions.size();
    report(refused, 0, true,
           QStringLiteral("XML error at line %1: %2; reading stopped there, so the file is refused whole, as the "
                          "learning platform refuses it%3")
               .arg(xml.lineNumber())
               .arg(xml.errorString(),
                    read > 0 ? QStringLiteral(" (%1 questions read before that line are not taken)").arg(read) : QString()));
    return refused;
}

namespace {

void write_text(QXmlStreamWriter &xml, const QString &element, const QString &html, const QString &format = QStringLiteral("html"))
{
    xml.writeStartElement(element);
    xml.writeAttribute(QStringLiteral("format"), format);
    xml.writeTextElement(QStringLiteral("text"), html);
    xml.writeEndElement();
}

// ' alt="text"' for a picture described in words, else nothing.
QString alt_attribute(const QString &description)
{
    return description.trimmed().isEmpty() ? QString()
                                           : QStringLiteral(" alt=\"%1\"").arg(description.simplified().toHtmlEscaped());
}

// The question text in HTML with its pictures, described by their alt
// text: embedded when the bank holds them, else named for the teacher to add.
void write_question_text(QXmlStreamWriter &xml, const ImportedBank &bank, const question_record &record)
{
    QString html = record.question_html.isEmpty() ? plain_to_html(record.question) : record.question_html;
    for (size_t k = 1; k <= 3; ++k) {
        const QString &name = record.diagrams[k];
        if (name.isEmpty())
            continue;
        QString tag = bank.pictures.contains(name) ? picture_tag(name) : QStringLiteral("<img src=\"%1\">").arg(name.toHtmlEscaped());
        html += QLatin1String("<br>") + tag.insert(tag.size() - 1, alt_attribute(record.diagram_descriptions[k]));
    }
    xml.writeStartElement(QStringLiteral("questiontext"));
    xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
    xml.writeTextElement(QStringLiteral("text"), html);
    for (size_t k = 1; k <= 3; ++k) {
        const auto picture = bank.pictures.constFind(record.diagrams[k]);
        if (record.diagrams[k].isEmpty() || picture == bank.pictures.constEnd())
            continue;
        xml.writeStartElement(QStringLiteral("file"));
        xml.writeAttribute(QStringLiteral("name"), record.diagrams[k]);
        xml.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
        xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
        xml.writeCharacters(QString::fromLatin1(picture->toBase64()));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

// A numerical question's units, optional in the answer (the platform's
// "units optional": a value without one is in the first unit).
void write_units(QXmlStreamWriter &xml, const question_record &record)
{
    if (!record.units.empty()) {
        xml.writeStartElement(QStringLiteral("units"));
        for (const AnswerUnit &unit : record.units) {
            xml.writeStartElement(QStringLiteral("unit"));
            xml.writeTextElement(QStringLiteral("multiplier"), QString::number(unit.multiplier, 'g', 15));
            xml.writeTextElement(QStringLiteral("unit_name"), unit.name);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeTextElement(QStringLiteral("unitgradingtype"), QStringLiteral("0"));
    xml.writeTextElement(QStringLiteral("unitpenalty"), QStringLiteral("0"));
    xml.writeTextElement(QStringLiteral("showunits"), record.units.empty() ? QStringLiteral("3") : QStringLiteral("0"));
    xml.writeTextElement(QStringLiteral("unitsleft"), QStringLiteral("0"));
}

// The start of the question, as the question's name: never half a
// character, which the XML writer cannot write.
QString short_name(const QString &question)
{
    QString name = QString(question).simplified().left(60);
    if (!name.isEmpty() && name.back().isHighSurrogate())
        name.chop(1);
    return name;
}

// A text a comment can hold: one line, no "--" (a space goes between two
// dashes), no dash at the end.
QString comment_text(const QString &text)
{
    QString out;
    for (const QChar c : QString(text).simplified()) {
        if (c == QLatin1Char('-') && out.endsWith(QLatin1Char('-')))
            out += QLatin1Char(' ');
        out += c;
    }
    return out;
}

// A matching question's stems with their meanings, then its distractors
// (an empty stem), in the order the importer reads them; the meaning is
// plain text, as the platform keeps it.
void write_pairs(QXmlStreamWriter &xml, const question_record &record)
{
    xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("true"));
    for (size_t k = 1; k <= max_answers && !record.matches[k].isEmpty(); ++k) {
        xml.writeStartElement(QStringLiteral("subquestion"));
        xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
        xml.writeTextElement(QStringLiteral("text"), plain_to_html(record.answers[k]));
        xml.writeStartElement(QStringLiteral("answer"));
        xml.writeTextElement(QStringLiteral("text"), record.matches[k]);
        xml.writeEndElement();
        xml.writeEndElement();
    }
}

QString fraction(double percent)
{
    return QString::number(percent, 'g', 7);
}

void write_question(QXmlStreamWriter &xml, const ImportedBank &bank, const question_record &record, int number)
{
    const bool typed = is_typed_question(record);
    xml.writeStartElement(QStringLiteral("question"));
    const bool numerical = is_numerical_question(record);
    const bool matching = is_matching_question(record);
    xml.writeAttribute(QStringLiteral("type"), numerical ? QStringLiteral("numerical")
                                               : typed   ? QStringLiteral("shortanswer")
                                               : matching ? QStringLiteral("matching")
                                                          : QStringLiteral("multichoice"));
    xml.writeStartElement(QStringLiteral("name"));
    xml.writeTextElement(QStringLiteral("text"), QStringLiteral("Q%1 %2").arg(number).arg(
                                                     short_name(record.question)));
    xml.writeEndElement();
    write_question_text(xml, bank, record);
    if (!record.explanation.isEmpty())
        write_text(xml, QStringLiteral("generalfeedback"), plain_to_html(record.explanation));
    if (typed && !numerical)
        xml.writeTextElement(QStringLiteral("usecase"), record.case_sensitive ? QStringLiteral("1") : QStringLiteral("0"));
    else if (matching)
        write_pairs(xml, record);
    else if (!typed)
        xml.writeTextElement(QStringLiteral("single"), one_to_choose(record) ? QStringLiteral("true") : QStringLiteral("false"));
    // A matching question's stems are in its subquestions.
    for (size_t k = 1; k <= max_answers && !record.answers[k].isEmpty() && !matching; ++k) {
        // Without weights of its own, several right: each right one a share,
        // a wrong one cancels all, so only exactly the right ones score, as
        // in this program.
        xml.writeStartElement(QStringLiteral("answer"));
        xml.writeAttribute(QStringLiteral("fraction"), fraction(answer_weight(record, k)));
        xml.writeAttribute(QStringLiteral("format"), typed ? QStringLiteral("moodle_auto_format") : QStringLiteral("html"));
        xml.writeTextElement(QStringLiteral("text"), typed ? record.answers[k] : plain_to_html(record.answers[k]));
        if (numerical)
            xml.writeTextElement(QStringLiteral("tolerance"), QString::number(record.tolerances[k], 'g', 15));
        if (!record.answer_feedback[k].isEmpty())
            write_text(xml, QStringLiteral("feedback"), plain_to_html(record.answer_feedback[k]));
        xml.writeEndElement();
    }
    if (numerical)
        write_units(xml, record);
    if (!record.clue.isEmpty())
        write_text(xml, QStringLiteral("hint"), plain_to_html(record.clue));
    xml.writeEndElement();
}

} // namespace

QByteArray export_moodle_xml(const ImportedBank &bank)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("quiz"));
    // The format has no title nor author: comments that the importer reads.
    for (const auto &[key, value] : {std::pair{kTitle, bank.title}, std::pair{kAuthor, bank.author}}) {
        if (!value.isEmpty())
            xml.writeComment(QLatin1Char(' ') + key + comment_text(value) + QLatin1Char(' '));
    }
    QString topic;
    int number = 0;
    for (const question_record &record : bank.questions) {
        if (is_lab_question(record))
            continue;  // no place for a lab; the converter warns of it
        if (number == 0 || record.topic != topic) {
            topic = record.topic;
            xml.writeStartElement(QStringLiteral("question"));
            xml.writeAttribute(QStringLiteral("type"), QStringLiteral("category"));
            xml.writeStartElement(QStringLiteral("category"));
            xml.writeTextElement(QStringLiteral("text"), QStringLiteral("$course$/top/") + category_path(topic));
            xml.writeEndElement();
            xml.writeEndElement();
        }
        write_question(xml, bank, record, ++number);
    }
    xml.writeEndDocument();
    return bytes;
}
