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
    while (count < int(max_answers) && !record.answers[size_t(count + 1)].isEmpty())
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

// The first numerical answer that is neither a number nor "*", or 0.
int first_not_a_value(const question_record &record, int answers)
{
    for (int k = 1; k <= answers; ++k) {
        bool number = false;
        const QString &value = record.answers[size_t(k)];
        if ((!std::isfinite(value.toDouble(&number)) || !number) && value != QLatin1String("*"))
            return k;
    }
    return 0;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + (text.size() > 40 ? text.left(37) + QLatin1String("...") : text) + QLatin1Char('"');
}

QString too_few_stems(size_t stems)
{
    return QStringLiteral("a matching question needs two stems or more: %1 given").arg(stems);
}

// The first stem without a meaning, as why the question cannot be asked, or "".
QString unpaired_stem(const question_record &record, int stems)
{
    for (size_t k = 1; k <= size_t(stems); ++k) {
        if (record.matches[k].isEmpty())
            return QStringLiteral("stem %1 (%2) has no meaning to match").arg(k).arg(quoted(record.answers[k]));
    }
    return {};
}

// A matching record's distractors (meanings without a stem) closed up after
// its stems, with nothing left that only the other kinds use.
void close_up_distractors(question_record &record, int stems)
{
    std::array<QString, max_answers + 1> matches;
    size_t next = 1;
    for (size_t k = 1; k <= max_answers; ++k) {
        if (!record.matches[k].isEmpty() || k <= size_t(stems))
            matches[next++] = record.matches[k];
    }
    record.matches = matches;
    record.correct = {};
    record.weights = {};
    record.weighted = false;
    record.answer_feedback = {};
}

// A matching question's stems with their meanings from the draft, then the
// meanings without a stem (distractors), wherever they stood; a pair
// without either is dropped.
QString take_pairs(DraftQuestion &draft)
{
    std::vector<DraftAnswer> stems, distractors;
    for (DraftAnswer &pair : draft.answers) {
        pair.text = pair.text.trimmed();
        pair.match = pair.match.trimmed();
        if (!pair.text.isEmpty())
            stems.push_back(pair);
        else if (!pair.match.isEmpty())
            distractors.push_back(pair);
    }
    if (stems.size() < 2)
        return too_few_stems(stems.size());
    if (stems.size() + distractors.size() > max_answers)
        return QStringLiteral("%1 stems and %2 distractors: more than %3 in all")
            .arg(stems.size()).arg(distractors.size()).arg(max_answers);
    question_record &record = draft.record;
    record.question_type = matching_type();
    for (size_t k = 0; k < stems.size(); ++k)
        record.answers[k + 1] = stems[k].text;
    stems.insert(stems.end(), distractors.begin(), distractors.end());
    for (size_t k = 0; k < stems.size(); ++k)
        record.matches[k + 1] = stems[k].match;
    return {};
}

// Fills the record's answers, their weights and feedback from the draft;
// "" or why it cannot be asked.
QString take_answers(DraftQuestion &draft)
{
    if (draft.matching)
        return take_pairs(draft);
    question_record &record = draft.record;
    std::vector<DraftAnswer> kept;
    for (DraftAnswer &answer : draft.answers) {
        answer.text = answer.text.trimmed();
        // A typed answer without text can match nothing: dropped, as the platforms do.
        if (!draft.typed || !answer.text.isEmpty())
            kept.push_back(answer);
    }
    if (kept.size() > max_answers)
        return QStringLiteral("%1 %2: more than %3").arg(kept.size()).arg(draft.typed ? "typed answers" : "answers").arg(max_answers);
    if (draft.typed) {
        record.question_type = draft.numerical ? numerical_type() : typed_question_type();
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
        record.tolerances[k + 1] = answer.tolerance;
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
    // Whatever a file says the formatting is, only what it formats is kept.
    record.question_html = formatted_html(clean_text(record.question_html));
    for (auto *items : {&record.answers, &record.answer_feedback, &record.matches}) {
        for (QString &text : *items)
            text = clean_text(text).trimmed();
    }
    // Tolerances and units belong to numerical questions only.
    for (double &tolerance : record.tolerances)
        tolerance = is_numerical_question(record) && std::isfinite(tolerance) ? std::abs(tolerance) : 0;
    if (!is_numerical_question(record))
        record.units.clear();
    for (AnswerUnit &unit : record.units)
        unit.name = clean_text(unit.name).simplified();
    record.units.erase(std::remove_if(record.units.begin(), record.units.end(),
                                      [](const AnswerUnit &u) { return u.name.isEmpty() || !std::isfinite(u.multiplier) || u.multiplier == 0; }),
                       record.units.end());
    for (auto *items : {&record.diagrams, &record.exhibits}) {
        for (QString &text : *items)
            text = clean_text(text).trimmed();
    }
    const int answers = answer_count(record);
    const bool matching = is_matching_question(record);
    if (matching)
        close_up_distractors(record, answers);
    else
        record.matches = {};
    check_weights(bank, record, line);
    drop_default_weights(record);
    keep_names_inside(bank, record.exhibits, nullptr, "exhibit", line);
    keep_names_inside(bank, record.diagrams, &record.diagram_descriptions, "diagram", line);
    QString refused;
    if (record.question.trimmed().isEmpty())
        refused = QStringLiteral("the question has no text");
    else if (is_lab_question(record))
        refused = record.lab ? QString() : QStringLiteral("a lab question without a lab");
    else if (is_typed_question(record) && !accepts_something(record, answers))
        refused = QStringLiteral("a typed question without an accepted answer");
    else if (!is_typed_question(record) && answers < 2)
        refused = matching ? too_few_stems(size_t(answers)) : QStringLiteral("fewer than two answers");
    else if (std::any_of(record.answers.begin() + 1 + answers, record.answers.end(), [](const QString &a) { return !a.isEmpty(); }))
        refused = QStringLiteral("answer %1 has no text").arg(answers + 1);
    else if (matching)
        refused = unpaired_stem(record, answers);
    else if (!is_typed_question(record) &&
             std::none_of(record.correct.begin() + 1, record.correct.begin() + 1 + answers, [](qint16 c) { return c == 1; }))
        refused = QStringLiteral("no right answer");
    else if (const int k = is_numerical_question(record) ? first_not_a_value(record, answers) : 0; k > 0)
        refused = QStringLiteral("answer %1 (%2) is not a number").arg(k).arg(quoted(record.answers[size_t(k)]));
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
