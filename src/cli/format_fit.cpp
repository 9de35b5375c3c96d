#include "cli/format_fit.h"

#include "bank/formats/bank_text.h"
#include "lab/lab_definition.h"
#include "quiz/exhibit_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// An exhibit longer than this would bury the question: left out instead.
constexpr qint64 kMaxInlineExhibitBytes = 64 * 1024;
// As the importers bound an embedded picture's cost.
constexpr qint64 kMaxDiagramBytes = 16 * 1024 * 1024;

class Fitter {
public:
    Fitter(ImportedBank &bank, BankFormat format, const QString &folder) : bank_(bank), format_(format), folder_(folder) {}

    void fit(size_t index)
    {
        index_ = index;
        question_record &record = bank_.questions[index];
        for (const QString &name : record.exhibits) {
            if (!name.isEmpty())
                add_exhibit(record, name);
        }
        record.exhibits = {};
        append(record.explanation, record.answer_note);
        record.answer_note.clear();
        if (format_ == BankFormat::Gift && !record.clue.isEmpty()) {
            append(record.explanation, QStringLiteral("Clue: ") + record.clue);
            warn(QStringLiteral("GIFT has no place for a clue: it is added to the explanation, shown after the answer"));
            record.clue.clear();
        }
        if (format_ == BankFormat::Gift && !record.units.empty()) {
            warn(QStringLiteral("GIFT has no units: the numerical answer is written without them"));
            record.units.clear();
        }
        if (format_ == BankFormat::Gift && is_matching_question(record) &&
            std::any_of(record.answers.begin(), record.answers.end(), [](const QString &stem) { return stem.contains(QLatin1String("->")); }))
            warn(QStringLiteral("GIFT splits a matching pair at its first \"->\" and cannot escape it: the \"->\" of a stem "
                                "is written as \u2192"));
        if (format_ == BankFormat::Gift && is_typed_question(record) && record.case_sensitive)
            warn(QStringLiteral("GIFT has no place for \"case matters\": the typed answers will be compared without case"));
        if (format_ == BankFormat::MoodleXml) {
            for (QString &diagram : record.diagrams)
                embed(diagram);
        }
    }

    void leave_out(size_t index)
    {
        index_ = index;
        const question_record &record = bank_.questions[index];
        const QString name = record.lab && !record.lab->title.isEmpty() ? record.lab->title : record.question.left(40);
        warn(QStringLiteral("the lab \"%1\" is left out: %2 cannot hold a lab")
                 .arg(name, format_ == BankFormat::Gift ? QStringLiteral("GIFT") : QStringLiteral("Moodle XML")));
    }

    std::vector<BankProblem> warnings;

private:
    static void append(QString &text, const QString &more)
    {
        if (!more.isEmpty())
            text += (text.isEmpty() ? QString() : line_break()) + more;
    }

    void add_exhibit(question_record &record, const QString &name)
    {
        const QFileInfo file(local_file_path(name, folder_));
        const std::optional<QString> text =
            file.size() > kMaxInlineExhibitBytes ? std::nullopt : read_exhibit(name, folder_, kMaxInlineExhibitBytes);
        if (!text) {
            warn(QStringLiteral("the exhibit \"%1\" is left out: %2").arg(name,
                file.size() > kMaxInlineExhibitBytes ? QStringLiteral("it is longer than %1 KiB").arg(kMaxInlineExhibitBytes / 1024)
                                                     : QStringLiteral("it cannot be read beside the bank")));
            return;
        }
        record.question += line_break() + line_break() + QStringLiteral("Exhibit %1:").arg(name) + line_break() +
                           QString(*text).trimmed();
    }

    // A diagram file beside the bank becomes an embedded picture.
    void embed(QString &name)
    {
        if (name.isEmpty() || bank_.pictures.contains(name))
            return;
        QFile file(local_file_path(name, folder_));
        if (!QFileInfo(file).isFile() || file.size() > kMaxDiagramBytes || !file.open(QIODevice::ReadOnly)) {
            warn(QStringLiteral("the diagram \"%1\" cannot be read beside the bank: only its name is written").arg(name));
            return;
        }
        const QByteArray bytes = file.readAll();
        const QFileInfo parts(QFileInfo(name).fileName());
        QString embedded = parts.fileName();
        for (int n = 2; bank_.pictures.contains(embedded) && bank_.pictures.value(embedded) != bytes; ++n)
            embedded = QStringLiteral("%1-%2.%3").arg(parts.completeBaseName()).arg(n).arg(parts.suffix());
        bank_.pictures.insert(embedded, bytes);
        name = embedded;
    }

    void warn(const QString &message)
    {
        const int line = index_ < bank_.question_lines.size() ? bank_.question_lines[index_] : 0;
        warnings.push_back({line, false, line > 0 ? message : QStringLiteral("question %1: %2").arg(index_ + 1).arg(message)});
    }

    ImportedBank &bank_;
    BankFormat format_;
    QString folder_;
    size_t index_ = 0;
};

} // namespace

std::vector<BankProblem> fit_to_format(ImportedBank &bank, BankFormat format, const QString &folder)
{
    if (format == BankFormat::Json)
        return {};
    Fitter fitter(bank, format, folder);
    // A lab is asked through the program's own simulator: no learning
    // platform can ask it, so it is left out, each one named.
    for (size_t index = 0; index < bank.questions.size(); ++index) {
        if (is_lab_question(bank.questions[index]))
            fitter.leave_out(index);
        else
            fitter.fit(index);
    }
    for (size_t index = bank.questions.size(); index-- > 0;) {
        if (!is_lab_question(bank.questions[index]))
            continue;
        bank.questions.erase(bank.questions.begin() + qsizetype(index));
        if (index < bank.question_lines.size())
            bank.question_lines.erase(bank.question_lines.begin() + qsizetype(index));
    }
    return fitter.warnings;
}
