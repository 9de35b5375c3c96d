#include "bank/formats/bank_choice.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace {

// The first few problems of a file that gave nothing to ask, so that the
// message says where to look.
QString first_problems(const std::vector<BankProblem> &problems)
{
    constexpr size_t shown = 3;
    QStringList lines;
    for (size_t i = 0; i < std::min(shown, problems.size()); ++i) {
        const BankProblem &problem = problems[i];
        lines << (problem.line > 0 ? QStringLiteral("Line %1: %2").arg(problem.line).arg(problem.message)
                                   : problem.message);
    }
    if (problems.size() > shown)
        lines << QStringLiteral("... and %1 more problems.").arg(problems.size() - shown);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

OpenedBank open_bank_file(const QString &path)
{
    return bank_from_import(read_bank_file(path), path);
}

OpenedBank bank_from_import(ImportedBank imported, const QString &path)
{
    const QFileInfo file(path);
    const size_t count = imported.questions.size();
    if (count == 0) {
        const QString why = first_problems(imported.problems);
        return {nullptr, QStringLiteral("The question bank %1 cannot be used:\n\n%2")
                             .arg(file.fileName(),
                                  why.isEmpty() ? QStringLiteral("It holds no question that this program can ask.") : why)};
    }
    if (count > size_t(QuestionBank::max_questions)) {
        return {nullptr, QStringLiteral("The question bank %1 holds %2 questions; this program asks at most %3 "
                                        "from one bank. Split it into smaller files.")
                             .arg(file.fileName())
                             .arg(count)
                             .arg(QuestionBank::max_questions)};
    }
    auto bank = std::make_shared<QuestionBank>();
    bank->questions.resize(count + 1);
    std::move(imported.questions.begin(), imported.questions.end(), bank->questions.begin() + 1);
    bank->total_questions = qint16(count);
    const QString title = imported.title.trimmed();
    bank->test_title = title.isEmpty() ? file.fileName() : title;
    bank->author_email = imported.author.trimmed();
    bank->files = {file.absolutePath(), std::move(imported.pictures)};
    return {std::move(bank), QString()};
}

ImportedBank exportable_bank(const QuestionBank &bank)
{
    ImportedBank exported;
    exported.title = bank.test_title;
    exported.author = bank.author_email;
    exported.questions.assign(bank.questions.begin() + 1, bank.questions.begin() + 1 + bank.total_questions);
    exported.question_lines.assign(exported.questions.size(), 0);
    exported.pictures = bank.files.pictures;
    return exported;
}
