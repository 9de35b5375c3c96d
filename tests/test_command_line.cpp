// The command line for bank authors: how it is read, --check with its lint,
// --convert, and the program itself run without a display.
#include "bank_converter.h"
#include "bank_lint.h"
#include "command_line.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kData = QStringLiteral(QUIZ_TEST_DATA "/open/");

question_record choice(const QString &text, std::initializer_list<int> right, int answers = 4)
{
    question_record record;
    record.question = text;
    record.question_type = QStringLiteral("single_answer");
    for (int p = 1; p <= answers; ++p)
        record.answers[size_t(p)] = QStringLiteral("answer %1 of %2").arg(p).arg(text);
    for (int p : right)
        record.correct[size_t(p)] = 1;
    return record;
}

ImportedBank bank_of(std::vector<question_record> questions)
{
    ImportedBank bank;
    for (size_t i = 0; i < questions.size(); ++i)
        bank.question_lines.push_back(int(i) * 10 + 1);
    bank.questions = std::move(questions);
    return bank;
}

// n one-right questions, the first `at_a` of them right at A, the rest
// spread over B to D.
ImportedBank letters(int n, int at_a)
{
    std::vector<question_record> questions;
    for (int i = 0; i < n; ++i)
        questions.push_back(choice(QStringLiteral("q%1").arg(i), {i < at_a ? 1 : 2 + i % 3}));
    return bank_of(questions);
}

struct Run {
    int status;
    QString out;
    QString err;
};

Run run(const QStringList &arguments)
{
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = run_command(parse_command_line(QStringList{QStringLiteral("quiz")} + arguments), out, err);
    return {status, QString::fromUtf8(out.data()), QString::fromUtf8(err.data())};
}

void write_file(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void reading_the_command_line_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QStringList>("files");
        using A = CommandLine::Action;
        const QStringList none;
        QTest::newRow("nothing") << none << int(A::open_windows) << none;
        QTest::newRow("a bank") << QStringList{"b.gift"} << int(A::open_windows) << QStringList{"b.gift"};
        QTest::newRow("two banks") << QStringList{"a", "b"} << int(A::refuse) << none;
        QTest::newRow("help") << QStringList{"--help"} << int(A::show_help) << none;
        QTest::newRow("help-all") << QStringList{"--help-all"} << int(A::show_help) << none;
        QTest::newRow("version") << QStringList{"-v"} << int(A::show_version) << none;
        QTest::newRow("check") << QStringList{"--check", "a", "b"} << int(A::check) << QStringList{"a", "b"};
        QTest::newRow("check nothing") << QStringList{"--check"} << int(A::refuse) << none;
        QTest::newRow("convert") << QStringList{"--convert", "builtin", "--to", "gift"} << int(A::convert)
                                 << QStringList{"builtin"};
        QTest::newRow("convert without --to") << QStringList{"--convert", "a"} << int(A::refuse) << none;
        QTest::newRow("convert two") << QStringList{"--convert", "a", "b", "--to", "json"} << int(A::refuse) << none;
        QTest::newRow("check and convert") << QStringList{"--check", "a", "--convert", "b", "--to", "json"}
                                           << int(A::refuse) << none;
        QTest::newRow("--to alone") << QStringList{"--to", "json", "a"} << int(A::refuse) << none;
        QTest::newRow("unknown option") << QStringList{"--bogus"} << int(A::refuse) << none;
    }

    void reading_the_command_line()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QStringList, files);
        const CommandLine command = parse_command_line(QStringList{QStringLiteral("quiz")} + arguments);
        QCOMPARE(int(command.action), action);
        QCOMPARE(command.error.isEmpty(), action != int(CommandLine::Action::refuse));
        if (action != int(CommandLine::Action::refuse))
            QCOMPARE(command.files, files);
    }

    void lint_data()
    {
        QTest::addColumn<ImportedBank>("bank");
        QTest::addColumn<QStringList>("expected");  // "line: start of the message", one per warning

        QTest::newRow("clean") << bank_of({choice("a", {1}), choice("b", {2})}) << QStringList();
        QTest::newRow("same text") << bank_of({choice("Which port?", {1}), choice("b", {1}), choice(" which  PORT? ", {2})})
                                   << QStringList{"21: the same question text as the question at line 1"};
        QTest::newRow("bunched over 40%") << letters(20, 9) << QStringList{"0: 9 of the 20 questions with one right answer have it at A (45%)"};
        QTest::newRow("40% is not bunched") << letters(20, 8) << QStringList();
        QTest::newRow("too few to tell") << letters(19, 19) << QStringList();
        QTest::newRow("choose two, three right") << bank_of({choice("Which? Choose two.", {1, 2, 3})})
                                                 << QStringList{"1: \"Choose two\" but the number of right answers is 3"};
        QTest::newRow("choose two, two right") << bank_of({choice("Which? Choose two.", {1, 2})}) << QStringList();
        QTest::newRow("select 3, one right") << bank_of({choice("Select 3 of them", {4})})
                                             << QStringList{"1: \"Select 3\" but the number of right answers is 1"};

        ImportedBank files = bank_of({choice("a", {1}), choice("b", {1})});
        files.questions[0].exhibits[2] = QStringLiteral("two-switches.png");
        files.questions[0].diagrams[1] = QStringLiteral("embedded.png");
        files.pictures.insert(QStringLiteral("embedded.png"), QByteArray("png"));
        files.questions[1].exhibits[1] = QStringLiteral("no-such-exhibit.txt");
        files.questions[1].diagrams[3] = QStringLiteral("no-such-diagram.png");
        QTest::newRow("files beside the bank") << files << QStringList{"11: exhibit file \"no-such-exhibit.txt\" does not exist",
                                                                       "11: diagram file \"no-such-diagram.png\" does not exist"};

        ImportedBank long_answers = bank_of({choice("a", {1}), choice("b", {1})});
        long_answers.questions[0].answers[2] = QString(answer_box_characters, QLatin1Char('x'));
        long_answers.questions[1].answers[3] = QString(answer_box_characters + 1, QLatin1Char('x'));
        QTest::newRow("long answer") << long_answers << QStringList{"11: answer C has 111 characters"};

        ImportedBank typed = bank_of({choice("Name two of them. Choose two.", {1}), choice("typed too", {1})});
        typed.questions[0].question_type = typed.questions[1].question_type = QStringLiteral("FILL_IN");
        typed.questions[1].answers[1] = QString(200, QLatin1Char('y'));
        QTest::newRow("typed answers are not choices") << typed << QStringList();
    }

    void lint()
    {
        QFETCH(ImportedBank, bank);
        QFETCH(QStringList, expected);
        const std::vector<BankProblem> warnings = lint_bank(bank, kData);
        QStringList found;
        for (const BankProblem &warning : warnings) {
            QVERIFY(!warning.skipped);
            found << QStringLiteral("%1: %2").arg(warning.line).arg(warning.message);
        }
        QCOMPARE(found.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(found[i].startsWith(expected[i]), qPrintable(found[i]));
    }

    void check_data()
    {
        QTest::addColumn<QStringList>("files");  // written to a temporary folder, "" = not written
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QStringList>("err");  // each line starts so, after the folder
        const QByteArray good = "Which device floods unknown unicast?\nA) A switch\nB) A router\nANSWER: A\n";
        const QByteArray twice = good + "\n" + good;
        const QByteArray skipped = good + "\nWhat has no answer?\nA) One\nB) Two\n";
        QTest::newRow("clean") << QStringList{"good.txt=" + good} << 0
                               << "good.txt: 1 questions (1 with one right answer, 0 with several right, 0 typed), 0 skipped\n"
                               << QStringList();
        QTest::newRow("warned") << QStringList{"twice.txt=" + twice} << 1
                                << "twice.txt: 2 questions (2 with one right answer, 0 with several right, 0 typed), 0 skipped\n"
                                << QStringList{"twice.txt:6: warning: the same question text"};
        QTest::newRow("skipped") << QStringList{"skipped.txt=" + skipped} << 1
                                 << "skipped.txt: 1 questions (1 with one right answer, 0 with several right, 0 typed), 1 skipped\n"
                                 << QStringList{"skipped.txt:6: error: "};
        QTest::newRow("missing, then clean") << QStringList{"missing.txt", "good.txt=" + good} << 2
                                             << "missing.txt: 0 questions (0 with one right answer, 0 with several right, 0 typed), 0 skipped\n"
                                                "good.txt: 1 questions (1 with one right answer, 0 with several right, 0 typed), 0 skipped\n"
                                             << QStringList{"missing.txt: error: "};
    }

    void check()
    {
        QFETCH(QStringList, files);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QStringList, err);
        QTemporaryDir folder;
        QStringList arguments{QStringLiteral("--check")};
        for (const QString &file : files) {
            const QString name = file.section(QLatin1Char('='), 0, 0);
            if (file.contains(QLatin1Char('=')))
                write_file(folder.filePath(name), file.section(QLatin1Char('='), 1).toUtf8());
            arguments << folder.filePath(name);
        }
        const Run result = run(arguments);
        QCOMPARE(result.status, status);
        QCOMPARE(QString(result.out).remove(folder.path() + QLatin1Char('/')), out);
        const QStringList lines = QString(result.err).remove(folder.path() + QLatin1Char('/')).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), err.size());
        for (int i = 0; i < err.size(); ++i)
            QVERIFY2(lines[i].startsWith(err[i]), qPrintable(lines[i]));
    }

    void convert_data()
    {
        QTest::addColumn<QString>("bank");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("to_file");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("written");  // a text the output holds
        QTest::addColumn<QString>("picture");  // a picture written beside it, "" = none
        QTest::newRow("builtin to gift") << "builtin" << "gift" << false << 0 << "::Q1::" << "";
        QTest::newRow("builtin to moodle-xml") << "builtin" << "moodle-xml" << true << 0 << "<quiz>" << "";
        QTest::newRow("pictures beside json") << kData + "campus.xml" << "json" << true << 0 << "out-vlan.png" << "out-vlan.png";
        QTest::newRow("moodle-xml keeps them in") << kData + "campus.xml" << "moodle-xml" << true << 0 << "encoding=\"base64\"" << "";
        QTest::newRow("no such format") << "builtin" << "aiken" << false << 2 << "" << "";
        QTest::newRow("no such bank") << kData + "none.gift" << "json" << false << 2 << "" << "";
    }

    void convert()
    {
        QFETCH(QString, bank);
        QFETCH(QString, to);
        QFETCH(bool, to_file);
        QFETCH(int, status);
        QFETCH(QString, written);
        QFETCH(QString, picture);
        QTemporaryDir folder;
        const QString output = folder.filePath(QStringLiteral("out.") + to);
        QStringList arguments{QStringLiteral("--convert"), bank, QStringLiteral("--to"), to};
        if (to_file)
            arguments << QStringLiteral("--output") << output;
        const Run result = run(arguments);
        QCOMPARE(result.status, status);
        QFile file(output);
        const QString text = to_file && file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : result.out;
        QVERIFY(text.contains(written));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).contains(picture), !picture.isEmpty());
        if (!picture.isEmpty()) {
            // The converted bank finds its picture beside it.
            const Run checked = run({QStringLiteral("--check"), output});
            QVERIFY2(!checked.err.contains(QStringLiteral("does not exist")), qPrintable(checked.err));
        }
    }

    // A picture's name cannot place a file outside the output's folder, nor
    // over another picture.
    void pictures_stay_beside_the_output()
    {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("out")));
        ImportedBank bank = bank_of({choice(QStringLiteral("a"), {1})});
        bank.questions[0].diagrams = {QString(), QStringLiteral("../../evil name.png"), QStringLiteral(".hidden"),
                                      QStringLiteral("x/evil name.png")};
        for (const QString &name : bank.questions[0].diagrams)
            bank.pictures.insert(name, name.toUtf8());
        bank.pictures.remove(QString());
        QBuffer unused;
        const ConversionResult result =
            convert_bank(bank, BankFormat::Json, folder.filePath(QStringLiteral("out/bank.json")), unused);
        QVERIFY(result.written);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
        const QDir out(folder.filePath(QStringLiteral("out")));
        const QStringList written{QStringLiteral("bank-evil_name.png"), QStringLiteral("bank-hidden"),
                                  QStringLiteral("bank-evil_name-2.png")};
        QCOMPARE(out.entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("bank-evil_name-2.png"), QStringLiteral("bank-evil_name.png"),
                              QStringLiteral("bank-hidden"), QStringLiteral("bank.json")}));
        QFile json(out.filePath(QStringLiteral("bank.json")));
        QVERIFY(json.open(QIODevice::ReadOnly));
        const QByteArray text = json.readAll();
        for (int k = 0; k < 3; ++k) {
            QVERIFY(text.contains(written[k].toUtf8()));
            QFile picture(out.filePath(written[k]));
            QVERIFY(picture.open(QIODevice::ReadOnly));
            QCOMPARE(picture.readAll(), bank.questions[0].diagrams[size_t(k + 1)].toUtf8());
        }
    }

    // The program itself: the authors' tools need no display.
    void runs_without_a_display()
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUIZ_PROGRAM), {QStringLiteral("--check"), kData + "switching.gift", kData + "none.gift"});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 2);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY(out.contains(QStringLiteral("switching.gift: 8 questions (6 with one right answer, 1 with several right, 1 typed), 0 skipped")));
        QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("none.gift: error: ")));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
