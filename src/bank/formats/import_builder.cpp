#include "bank/formats/import_builder.h"

#include "bank/formats/bank_text.h"
#include "bank/question_json.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxProblems = 1000;

int answer_count(const question_record &record)
{
    int count = 0;
    while (count < 6 && !record.answers[size_t(count + 1)].isEmpty())
        ++count;
    return count;
}

// Whether one of the first answers earns full credit.
bool accepts_something(const question_record &record, int answers)
{
    for (size_t k = 1; k <= size_t(answers); ++k) {
        if (answer_weight(record, k) >= full_credit)
            return true;
    }
    return false;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + (text.size() > 40 ? text.left(37) + QLatin1String("...") : text) + QLatin1Char('"');
}

// Fills the record's answers, their weights and feedback from the draft;
// "" or why it cannot be asked.
QString take_answers(DraftQuestion &draft)
{
    question_record &record = draft.record;
    std::vector<DraftAnswer> kept;
    for (DraftAnswer &answer : draft.answers) {
        answer.text = answer.text.trimmed();
        // A typed answer without text can match nothing: dropped, as the platforms do.
        if (!draft.typed || !answer.text.isEmpty())
            kept.push_back(answer);
    }
    if (kept.size() > 6)
        return QStringLiteral("%1 %2: more than six").arg(kept.size()).arg(draft.typed ? "typed answers" : "answers");
    if (draft.typed) {
        record.question_type = typed_question_type();
        if (std::none_of(kept.begin(), kept.end(), [](const DraftAnswer &a) { return a.fraction >= full_credit; }))
            return QStringLiteral("no answer with full credit");
    } else if (kept.size() < 2) {
        return QStringLiteral("fewer than two answers");
    } else {
        record.question_type = default_question_type();
    }
    for (size_t k = 0; k < kept.size(); ++k) {
        const DraftAnswer &answer = kept[k];
        if (answer.text.isEmpty())
            return QStringLiteral("answer %1 has no text").arg(k + 1);
        record.answers[k + 1] = answer.text;
        record.answer_feedback[k + 1] = answer.feedback.trimmed();
        record.weights[k + 1] = answer.fraction;
        // A typed question's answers are marked by their weights alone.
        const bool right = !draft.typed && (draft.one_right ? answer.fraction >= full_credit : answer.fraction > 0);
        record.correct[k + 1] = right ? 1 : 0;
    }
    record.weighted = true;
    // One answer to choose, several of them at full credit: any one is right.
    if (!draft.typed && draft.one_right && std::count(record.correct.begin() + 1, record.correct.end(), 1) > 1)
        record.question_type = any_one_right_type();
    return {};
}

// Weights a platform can give: a number from -100 to 100 percent. Others
// are brought within, with a warning; weights that give no right answer any
// credit contradict the right answers and are left out.
void check_weights(ImportedBank &bank, question_record &record, int line)
{
    if (!record.weighted)
        return;
    bool credited = is_typed_question(record);
    for (size_t k = 1; k <= max_answers; ++k) {
        double &weight = record.weights[k];
        if (!std::isfinite(weight) || weight < -100 || weight > 100) {
            const double kept = std::isfinite(weight) ? std::clamp(weight, -100.0, 100.0) : 0.0;
            report(bank, line, false, QStringLiteral("the weight %1 of answer %2 is not from -100 to 100: read as %3")
                                          .arg(weight).arg(k).arg(kept));
            weight = kept;
        }
        credited = credited || (record.correct[k] == 1 && weight > 0);
    }
    if (!credited && right_count(record) > 0) {
        report(bank, line, false, QStringLiteral("the answer weights give no right answer any credit: left out"));
        record.weighted = false;
        record.weights = {};
    }
}

// A file name that stays inside the bank's folder: not absolute, not from
// a home folder ("~/"), no ".." part.
bool stays_inside(const QString &name)
{
    const QString path = QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'));
    return !QDir::isAbsolutePath(path) && !path.startsWith(QLatin1Char('~')) &&
           !path.split(QLatin1Char('/')).contains(QLatin1String(".."));
}

// Drops the names that would reach outside the bank's folder, with a
// warning each; the names kept close up from 1, and so do the texts that go
// with them (a diagram's description).
void keep_names_inside(ImportedBank &bank, std::array<QString, 4> &names, std::array<QString, 4> *beside,
                       const char *kind, int line)
{
    std::array<QString, 4> kept, kept_beside;
    size_t next = 1;
    for (size_t k = 1; k < names.size(); ++k) {
        if (!names[k].isEmpty() && !stays_inside(names[k])) {
            report(bank, line, false, QStringLiteral("the %1 %2 is left out: a bank names files inside its own folder")
                                          .arg(QLatin1String(kind), quoted(names[k])));
            continue;
        }
        kept_beside[next] = beside ? (*beside)[k] : QString();
        kept[next++] = names[k];
    }
    names = kept;
    if (beside)
        *beside = kept_beside;
}

} // namespace

void report(ImportedBank &bank, int line, bool skipped, const QString &message)
{
    const int count = int(bank.problems.size());
    if (count < kMaxProblems)
        bank.problems.push_back({line, skipped, message});
    else if (count == kMaxProblems)
        bank.problems.push_back({0, false, QStringLiteral("further problems are not listed")});
}

void add_question(ImportedBank &bank, DraftQuestion draft)
{
    if (draft.diagrams.size() > 3) {
        report(bank, draft.line, false, QStringLiteral("only the first three of %1 pictures are kept").arg(draft.diagrams.size()));
        draft.diagrams = draft.diagrams.mid(0, 3);
    }
    for (int k = 0; k < draft.diagrams.size(); ++k)
        draft.record.diagrams[size_t(k + 1)] = draft.diagrams.at(k);
    const QString refused = take_answers(draft);
    if (!refused.isEmpty())
        report(bank, draft.line, true, refused);
    else
        add_record(bank, draft.record, draft.line);
}

void add_record(ImportedBank &bank, question_record record, int line)
{
    for (QString *text : {&record.question, &record.explanation, &record.question_type, &record.clue,
                          &record.answer_note, &record.topic, &record.reserved_text})
        *text = clean_text(*text).trimmed();
    for (auto *items : {&record.answers, &record.answer_feedback}) {
        for (QString &text : *items)
            text = clean_text(text).trimmed();
    }
    for (auto *items : {&record.diagrams, &record.exhibits}) {
        for (QString &text : *items)
            text = clean_text(text).trimmed();
    }
    check_weights(bank, record, line);
    drop_default_weights(record);
    keep_names_inside(bank, record.exhibits, nullptr, "exhibit", line);
    keep_names_inside(bank, record.diagrams, &record.diagram_descriptions, "diagram", line);
    const int answers = answer_count(record);
    QString refused;
    if (record.question.trimmed().isEmpty())
        refused = QStringLiteral("the question has no text");
    else if (is_lab_question(record))
        refused = record.lab ? QString() : QStringLiteral("a lab question without a lab");
    else if (is_typed_question(record) && !accepts_something(record, answers))
        refused = QStringLiteral("a typed question without an accepted answer");
    else if (!is_typed_question(record) && answers < 2)
        refused = QStringLiteral("fewer than two answers");
    else if (std::any_of(record.answers.begin() + 1 + answers, record.answers.end(), [](const QString &a) { return !a.isEmpty(); }))
        refused = QStringLiteral("answer %1 has no text").arg(answers + 1);
    else if (!is_typed_question(record) &&
             std::none_of(record.correct.begin() + 1, record.correct.begin() + 1 + answers, [](qint16 c) { return c == 1; }))
        refused = QStringLiteral("no right answer");
    if (!refused.isEmpty()) {
        report(bank, line, true, refused);
        return;
    }
    bank.questions.push_back(record);
    bank.question_lines.push_back(line);
}

QString add_picture(ImportedBank &bank, const QString &name, const QByteArray &bytes)
{
    // Only the last part of a name is kept: the picture is held in memory
    // and written beside the bank at most, never into another folder.
    QString base = QFileInfo(name).fileName();
    if (base.isEmpty() || base.startsWith(QLatin1Char('.')))
        base = QStringLiteral("picture") + base;
    QString unique = base;
    // Numbered from 2; past a handful, from the number of pictures, so that
    // many pictures of one name cost no search each.
    for (qsizetype n = 2; bank.pictures.contains(unique) && bank.pictures.value(unique) != bytes;
         n = n < 9 ? n + 1 : std::max(n + 1, bank.pictures.size())) {
        const QFileInfo info(base);
        unique = QStringLiteral("%1-%2%3").arg(info.completeBaseName()).arg(n)
                     .arg(info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
    }
    bank.pictures.insert(unique, bytes);
    return unique;
}

QString category_topic(const QString &path)
{
    static const QRegularExpression context(QStringLiteral("^\\$[a-z0-9]+\\$/?"));
    QString topic = path.trimmed();
    topic.remove(context);
    if (topic == QLatin1String("top") || topic.startsWith(QLatin1String("top/")))
        topic.remove(0, 4);
    return topic.replace(QLatin1String("//"), QLatin1String("/")).trimmed();
}

QString category_path(const QString &topic)
{
    return topic.simplified().replace(QLatin1Char('/'), QLatin1String("//"));
}
