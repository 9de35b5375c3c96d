#include "cli/command_line.h"

#include "bank/formats/bank_choice.h"
#include "cli/bank_converter.h"
#include "cli/bank_lint.h"
#include "cli/format_fit.h"
#include "bank/bank_loaders.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <algorithm>
#include <cstdio>

namespace {

const QString kBuiltin = QStringLiteral("builtin");

// The options, built the same way for parsing and for the help text.
struct Options {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption check{QStringLiteral("check"),
                             QStringLiteral("Check each bank FILE: count its questions and report, on standard "
                                            "error, each question skipped and what an author would mend.")};
    QCommandLineOption convert{QStringLiteral("convert"),
                               QStringLiteral("Write the bank FILE (the word builtin: the built-in bank) in the "
                                              "format given by --to."),
                               QStringLiteral("FILE")};
    QCommandLineOption to{QStringLiteral("to"), QStringLiteral("The format --convert writes: json, gift or moodle-xml."),
                          QStringLiteral("FORMAT")};
    QCommandLineOption output{QStringLiteral("output"),
                              QStringLiteral("The file --convert writes, with the bank's embedded pictures beside "
                                             "it; standard output without this option."),
                              QStringLiteral("OUT")};

    Options()
    {
        parser.setApplicationDescription(
            QStringLiteral("A practice examination on LAN switching. Started with a FILE, it asks the questions "
                           "of that bank (GIFT, Moodle XML, Aiken or the program's JSON) instead of its own."));
        parser.addOptions({check, convert, to, output});
        parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A question bank to open, or to check."),
                                     QStringLiteral("[FILE...]"));
    }
};

// The options QGuiApplication and QApplication take out of the command line,
// written with one dash or two, their value after a space or "=".
bool is_qt_option(const QString &argument, bool &takes_value)
{
    static const QStringList with_value{"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                        "geometry", "qwindowtitle", "title", "qwindowicon", "icon", "session",
                                        "display", "name", "style", "stylesheet", "qmljsdebugger"};
    static const QStringList flags{"reverse", "testability", "widgetcount", "nograb", "dograb", "sync"};
    if (!argument.startsWith(QLatin1Char('-')))
        return false;
    const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
    takes_value = with_value.contains(name) && !argument.contains(QLatin1Char('='));
    return with_value.contains(name) || flags.contains(name);
}

QStringList without_qt_options(const QStringList &arguments)
{
    QStringList kept;
    for (int i = 0; i < arguments.size(); ++i) {
        bool takes_value = false;
        if (i > 0 && is_qt_option(arguments[i], takes_value))
            i += takes_value ? 1 : 0;
        else
            kept << arguments[i];
    }
    return kept;
}

CommandLine refused(const QString &error)
{
    CommandLine command;
    command.action = CommandLine::Action::refuse;
    command.error = error;
    return command;
}

void write_line(QIODevice &device, const QString &line)
{
    device.write(line.toUtf8().append('\n'));
}

// One line per problem, as compilers write them, so that editors can jump
// to the line: FILE:LINE: error: ... (a question skipped) or warning.
void report_problems(QIODevice &err, const QString &file, std::vector<BankProblem> problems)
{
    std::stable_sort(problems.begin(), problems.end(),
                     [](const BankProblem &a, const BankProblem &b) { return a.line < b.line; });
    for (const BankProblem &problem : problems) {
        const QString where = problem.line > 0 ? QStringLiteral("%1:%2").arg(file).arg(problem.line) : file;
        write_line(err, QStringLiteral("%1: %2: %3")
                            .arg(where, problem.skipped ? QStringLiteral("error") : QStringLiteral("warning"),
                                 problem.message));
    }
}

int check_file(const QString &file, QIODevice &out, QIODevice &err)
{
    const ImportedBank bank = read_bank_file(file);
    int one_right = 0, several_right = 0, typed = 0, numerical = 0, matching = 0, labs = 0;
    for (const question_record &record : bank.questions) {
        if (is_lab_question(record))
            ++labs;
        else if (is_matching_question(record))
            ++matching;
        else if (is_numerical_question(record))
            ++numerical;
        else if (is_typed_question(record))
            ++typed;
        else if (std::count(record.correct.begin() + 1, record.correct.end(), 1) == 1)
            ++one_right;
        else
            ++several_right;
    }
    std::vector<BankProblem> problems = bank.problems;
    // Errors at line 0 concern the whole file, not a question.
    const auto skipped = std::count_if(problems.begin(), problems.end(),
                                       [](const BankProblem &p) { return p.skipped && p.line > 0; });
    if (!bank.questions.empty()) {
        const std::vector<BankProblem> warnings = lint_bank(bank, QFileInfo(file).absolutePath());
        problems.insert(problems.end(), warnings.begin(), warnings.end());
    }
    QString kinds = QStringLiteral("%1 with one right answer, %2 with several right, %3 typed")
                        .arg(one_right).arg(several_right).arg(typed);
    if (numerical > 0)
        kinds += QStringLiteral(", %1 numerical").arg(numerical);
    if (matching > 0)
        kinds += QStringLiteral(", %1 matching").arg(matching);
    kinds += QStringLiteral(", %1 labs").arg(labs);
    write_line(out, QStringLiteral("%1: %2 questions (%3), %4 skipped")
                        .arg(file)
                        .arg(bank.questions.size())
                        .arg(kinds)
                        .arg(skipped));
    report_problems(err, file, problems);
    if (bank.questions.empty())
        return 2;
    return problems.empty() ? 0 : 1;
}

int convert_file(const CommandLine &command, QIODevice &out, QIODevice &err)
{
    const std::optional<BankFormat> format = exported_format(command.to);
    if (!format) {
        write_line(err, QStringLiteral("--to takes json, gift or moodle-xml, not \"%1\"").arg(command.to));
        return 2;
    }
    const QString &file = command.files.constFirst();
    ImportedBank bank;
    QString folder;  // the built-in bank's files are named from the current directory
    if (file == kBuiltin) {
        QuestionBank builtin;
        fill_question_bank(builtin);
        bank = exportable_bank(builtin);
    } else {
        bank = read_bank_file(file);
        folder = QFileInfo(file).absolutePath();
        if (bank.questions.empty()) {
            report_problems(err, file, bank.problems);
            return 2;
        }
    }
    std::vector<BankProblem> problems = bank.problems;
    const std::vector<BankProblem> dropped = fit_to_format(bank, *format, folder);
    problems.insert(problems.end(), dropped.begin(), dropped.end());
    report_problems(err, file, problems);
    const ConversionResult result = convert_bank(bank, *format, command.output, out);
    for (const QString &message : result.messages)
        write_line(err, message);
    if (!result.written)
        return 2;
    return problems.empty() ? 0 : 1;
}

} // namespace

CommandLine parse_command_line(const QStringList &arguments)
{
    Options options;
    if (!options.parser.parse(without_qt_options(arguments)))
        return refused(options.parser.errorText());
    const QCommandLineParser &parser = options.parser;
    CommandLine command;
    command.files = parser.positionalArguments();
    // --help-all, which Qt adds, shows the same help here.
    if (parser.isSet(options.help) || parser.isSet(QStringLiteral("help-all"))) {
        command.action = CommandLine::Action::show_help;
    } else if (parser.isSet(options.version)) {
        command.action = CommandLine::Action::show_version;
    } else if (parser.isSet(options.check)) {
        if (parser.isSet(options.convert))
            return refused(QStringLiteral("--check and --convert cannot be used together."));
        if (command.files.isEmpty())
            return refused(QStringLiteral("--check needs at least one bank FILE."));
        command.action = CommandLine::Action::check;
    } else if (parser.isSet(options.convert)) {
        if (!command.files.isEmpty())
            return refused(QStringLiteral("--convert takes one bank; unexpected: %1").arg(command.files.join(' ')));
        if (!parser.isSet(options.to))
            return refused(QStringLiteral("--convert needs --to json, gift or moodle-xml."));
        command.action = CommandLine::Action::convert;
        command.files = QStringList{parser.value(options.convert)};
        command.to = parser.value(options.to);
        command.output = parser.value(options.output);
    } else if (parser.isSet(options.to) || parser.isSet(options.output)) {
        return refused(QStringLiteral("--to and --output go with --convert."));
    } else if (command.files.size() > 1) {
        return refused(QStringLiteral("The program opens one bank at a time; --check takes several."));
    }
    return command;
}

int run_command(const CommandLine &command, QIODevice &out, QIODevice &err)
{
    switch (command.action) {
    case CommandLine::Action::show_help:
        out.write(Options().parser.helpText().toUtf8());
        return 0;
    case CommandLine::Action::show_version:
        write_line(out, QStringLiteral("%1 %2").arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                                                    QStringLiteral(QUIZ_VERSION)));
        return 0;
    case CommandLine::Action::check: {
        int status = 0;
        for (const QString &file : command.files)
            status = std::max(status, check_file(file, out, err));
        return status;
    }
    case CommandLine::Action::convert:
        return convert_file(command, out, err);
    case CommandLine::Action::refuse:
        write_line(err, command.error);
        write_line(err, QStringLiteral("Try --help."));
        return 2;
    case CommandLine::Action::open_windows:
        break;
    }
    return 2;
}

int run_command(const CommandLine &command)
{
    // Straight to the descriptors, unbuffered, so that the lines of the two
    // streams come in the order they were written.
    QFile out;
    QFile err;
    out.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(fileno(stderr), QIODevice::WriteOnly | QIODevice::Unbuffered);
    return run_command(command, out, err);
}
