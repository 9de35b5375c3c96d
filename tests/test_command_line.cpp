// The command line for bank authors: --check with its lint, --convert, what
// is refused, and the program itself run without a display.
#include "cli/bank_converter.h"
#include "cli/bank_lint.h"
#include "cli/command_line.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString kData = QStringLiteral(QUIZ_TEST_DATA "/open/");
const QByteArray kAiken = "Which device floods unknown unicast?\nA) A switch\nB) A router\nANSWER: A\n";

// Questions "q0", "q1"... (or the texts given), at lines 1, 11, 21...,
// right at the answer numbers given, four answers each.
ImportedBank bank_of(const std::vector<int> &right_at, const QStringList &texts = {})
{
    ImportedBank bank;
    for (size_t i = 0; i < right_at.size(); ++i) {
        question_record record;
        record.question = i < size_t(texts.size()) ? texts[int(i)] : QStringLiteral("q%1").arg(i);
        for (size_t p = 1; p <= 4; ++p)
            record.answers[p] = QStringLiteral("answer %1 of %2").arg(p).arg(i);
        for (int p = right_at[i]; p > 0; p /= 10)  // 23: answers 2 and 3
            record.correct[size_t(p % 10)] = 1;
        bank.questions.push_back(record);
        bank.question_lines.push_back(int(i) * 10 + 1);
    }
    return bank;
}

// A picture of that width, as a PNG file holds it.
QByteArray png(int width)
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QImage(width, 1, QImage::Format_RGB32).save(&bytes, "PNG");
    return bytes.data();
}

// n one-right questions, the first at_a right at A, the rest at B to D.
ImportedBank letters(int n, int at_a)
{
    std::vector<int> right;
    for (int i = 0; i < n; ++i)
        right.push_back(i < at_a ? 1 : 2 + i % 3);
    return bank_of(right);
}

// A bank of one lab: SW2 is to become the root bridge, from the starting
// and reference commands given.
QByteArray lab_bank_json(const QString &start, const QString &solution)
{
    return QStringLiteral(R"({"questions": [{"question": "Make SW2 the root.", "question_type": "lab", "lab": {
        "devices": [{"name": "SW1", "kind": "switch", "ports": 2}, {"name": "SW2", "kind": "switch", "ports": 2}],
        "links": [{"a": ["SW1", "P1"], "b": ["SW2", "P1"]}], "start": {"SW2": ["%1"]}, "solution": {"SW2": ["%2"]},
        "goals": [{"root": "SW2"}]}}]})").arg(start, solution).toUtf8();
}

ImportedBank lab_bank(const QString &start, const QString &solution)
{
    return import_bank(lab_bank_json(start, solution), BankFormat::Json);
}

} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void lint_data()
    {
        QTest::addColumn<ImportedBank>("bank");
        QTest::addColumn<QStringList>("expected");  // "line: start of the message", one per warning
        QTest::newRow("clean") << bank_of({1, 2}) << QStringList();
        QTest::newRow("same text") << bank_of({1, 1, 2}, {"Which port?", "b", " which  PORT? "})
                                   << QStringList{"21: the same question text as the question at line 1"};
        QTest::newRow("bunched over 40%") << letters(20, 9)
                                          << QStringList{"0: 9 of the 20 questions with one right answer have it at A"};
        QTest::newRow("40% is not bunched") << letters(20, 8) << QStringList();
        QTest::newRow("too few to tell") << letters(19, 19) << QStringList();
        QTest::newRow("choose two, two right") << bank_of({12}, {"Which? Choose two."}) << QStringList();
        QTest::newRow("choose two, three right") << bank_of({123}, {"Which? Choose two."})
                                                 << QStringList{"1: \"Choose two\" but the number of right answers is 3"};
        QTest::newRow("select 3, one right") << bank_of({4}, {"Select 3 of them"})
                                             << QStringList{"1: \"Select 3\" but the number of right answers is 1"};

        ImportedBank files = bank_of({1, 1});
        files.questions[0].exhibits[2] = QStringLiteral("two-switches.png");  // beside the bank
        files.questions[0].diagrams[1] = QStringLiteral("embedded.png");
        files.pictures.insert(QStringLiteral("embedded.png"), png(2));
        files.questions[1].exhibits[1] = QStringLiteral("no-such-exhibit.txt");
        files.questions[1].diagrams[2] = QStringLiteral("broken.png");
        files.pictures.insert(QStringLiteral("broken.png"), png(2).left(40));
        files.questions[1].diagrams[3] = QStringLiteral("no-such-diagram.png");
        QTest::newRow("files") << files << QStringList{"11: exhibit file \"no-such-exhibit.txt\" does not exist",
                                                       "11: diagram \"broken.png\" cannot be read as a picture",
                                                       "11: diagram file \"no-such-diagram.png\" does not exist"};

        ImportedBank long_answers = bank_of({1, 1, 1});
        long_answers.questions[0].answers[2] = QString(answer_box_characters, QLatin1Char('x'));
        long_answers.questions[1].answers[3] = QString(answer_box_characters + 1, QLatin1Char('x'));
        // Typed answers are not shown in boxes, nor do they count as choices.
        long_answers.questions[2].question_type = QStringLiteral("FILL_IN");
        long_answers.questions[2].question = QStringLiteral("Name them. Choose two.");
        long_answers.questions[2].answers[1] = QString(200, QLatin1Char('y'));
        QTest::newRow("long answers") << long_answers << QStringList{"11: answer C has 111 characters"};

        // Decimals without a tolerance are warned of; a whole number, a
        // tolerance, a wrong value or "*" are not.
        ImportedBank values = bank_of({1, 1});
        for (question_record &record : values.questions) {
            record.question_type = numerical_type();
            record.answers = {QString(), QStringLiteral("2.5"), QStringLiteral("12"), QStringLiteral("0.5"), QStringLiteral("*")};
            record.weighted = true;
            record.weights = {0, 100, 100};
        }
        values.questions[1].tolerances[1] = 0.1;
        QTest::newRow("numerical tolerance") << values << QStringList{"1: answer 1 (2.5) has no tolerance"};
        // A typed answer of stars alone accepts anything: only at full credit a fault.
        ImportedBank stars = bank_of({1, 1});
        for (question_record &record : stars.questions) {
            record.question_type = QStringLiteral("FILL_IN");
            record.answers = {QString(), QStringLiteral("trunk"), QStringLiteral(" ** ")};
        }
        stars.questions[1].weighted = true;
        stars.questions[1].weights[1] = 100;
        QTest::newRow("catch-all typed answer") << stars << QStringList{"1: typed answer 2 is \"**\" at full credit"};

        const QString to_root = QStringLiteral("spanning-tree priority 4096");
        QTest::newRow("lab proven") << lab_bank("spanning-tree priority 61440", to_root) << QStringList();
        QTest::newRow("lab solved at the start") << lab_bank(to_root, to_root)
                                                 << QStringList{"1: lab: the starting state already meets every goal"};
        QTest::newRow("lab, a command mistyped") << lab_bank("spanning-tree priority 61440", "spanning-tree priorty 4096")
                                                 << QStringList{"1: lab: SW2", "1: lab: the solution does not meet: SW2 is the root"};
    }

    void lint()
    {
        QFETCH(ImportedBank, bank);
        QFETCH(QStringList, expected);
        const std::vector<BankProblem> warnings = lint_bank(bank, kData);
        QCOMPARE(int(warnings.size()), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const QString found = QStringLiteral("%1: %2").arg(warnings[size_t(i)].line).arg(warnings[size_t(i)].message);
            QVERIFY2(found.startsWith(expected[i]) && !warnings[size_t(i)].skipped, qPrintable(found));
        }
    }

    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");  // a NAME=TEXT argument is written to a file NAME first
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");   // the start of standard output
        QTest::addColumn<QStringList>("err");  // the start of each line of standard error
        const QString counts = QStringLiteral(": %1 questions (%2 with one right answer, 0 with several right, 0 typed, 0 labs), %3 skipped\n");
        QTest::newRow("clean") << QStringList{"--check", "good.txt=" + kAiken} << 0 << "good.txt" + counts.arg(1).arg(1).arg(0)
                               << QStringList();
        QTest::newRow("warned") << QStringList{"--check", "twice.txt=" + kAiken + "\n" + kAiken} << 1
                                << "twice.txt" + counts.arg(2).arg(2).arg(0) << QStringList{"twice.txt:6: warning: the same question text"};
        QTest::newRow("skipped") << QStringList{"--check", "skip.txt=" + kAiken + "\nNo answer?\nA) One\nB) Two\n"} << 1
                                 << "skip.txt" + counts.arg(1).arg(1).arg(1) << QStringList{"skip.txt:6: error: "};
        QTest::newRow("missing, then clean") << QStringList{"--check", "missing.txt", "good.txt=" + kAiken} << 2
                                             << "missing.txt" + counts.arg(0).arg(0).arg(0) + "good.txt" + counts.arg(1).arg(1).arg(0)
                                             << QStringList{"missing.txt: error: "};
        QTest::newRow("lab") << QStringList{"--check", "lab.json=" + lab_bank_json("spanning-tree priority 61440", "spanning-tree priority 4096")}
                             << 0 << "lab.json: 1 questions (0 with one right answer, 0 with several right, 0 typed, 1 labs), 0 skipped\n"
                             << QStringList();
        QTest::newRow("numerical") << QStringList{"--check", "values.gift=Q? {#2.5}\n\nR? {#12}\n"} << 1
                                   << "values.gift: 2 questions (0 with one right answer, 0 with several right, 0 typed, "
                                      "2 numerical, 0 labs), 0 skipped\n"
                                   << QStringList{"values.gift:1: warning: answer 1 (2.5) has no tolerance"};
        QTest::newRow("matching") << QStringList{"--check", "pairs.gift=Q? {=Root port -> 1 =root  port -> 2 = -> 3}\n"} << 1
                                  << "pairs.gift: 1 questions (0 with one right answer, 0 with several right, 0 typed, "
                                     "1 matching, 0 labs), 0 skipped\n"
                                  << QStringList{"pairs.gift:1: warning: stems 1 and 2 read the same"};
        QTest::newRow("matching to gift")
            << QStringList{"--convert", "pairs.json={\"questions\": [{\"question\": \"Q?\", \"question_type\": \"MATCHING\", "
                           "\"answers\": [\"SW1->SW2\", \"SW2\"], \"matches\": [\"a\", \"b\"]}]}", "--to", "gift"}
            << 1 << "" << QStringList{"pairs.json:1: warning: GIFT splits a matching pair at its first \"->\""};
        QTest::newRow("builtin to gift") << QStringList{"--convert", "builtin", "--to", "gift"} << 0 << "// Title: LAN Switching Practice"
                                         << QStringList();
        QTest::newRow("no such format") << QStringList{"--convert", "builtin", "--to", "aiken"} << 2 << ""
                                        << QStringList{"--to takes json, gift or moodle-xml"};
        QTest::newRow("embedded, no --output") << QStringList{"--convert", kData + "campus.xml", "--to", "json"} << 0 << "{"
                                               << QStringList{"1 embedded pictures are not written"};
        QTest::newRow("case flag to gift")
            << QStringList{"--convert", "case.xml=<quiz>\n<question type=\"shortanswer\"><questiontext><text>Name?</text>"
                           "</questiontext><usecase>1</usecase><answer fraction=\"100\"><text>Root</text></answer>"
                           "</question></quiz>", "--to", "gift"}
            << 1 << "" << QStringList{"case.xml:2: warning: GIFT has no place for \"case matters\""};
        QTest::newRow("help-all") << QStringList{"--help-all"} << 0 << "Usage: " << QStringList();
        QTest::newRow("version") << QStringList{"-v"} << 0 << "test_command_line 1.0" << QStringList();
        for (const QStringList &refused : {QStringList{"a", "b"}, QStringList{"--check"}, QStringList{"--convert", "a"},
                                           QStringList{"--convert", "a", "b", "--to", "json"}, QStringList{"--to", "json", "a"},
                                           QStringList{"--check", "a", "--convert", "b", "--to", "json"}, QStringList{"--bogus"}})
            QTest::newRow(qPrintable("refused: " + refused.join(' '))) << refused << 2 << "" << QStringList{"", "Try --help."};
    }

    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QStringList, err);
        QTemporaryDir folder;
        QStringList command{QStringLiteral("quiz")};
        for (const QString &argument : arguments) {
            if (argument.contains(QLatin1Char('=')) || argument.endsWith(QLatin1String(".txt"))) {
                QFile file(folder.filePath(argument.section(QLatin1Char('='), 0, 0)));
                if (argument.contains(QLatin1Char('=')) && file.open(QIODevice::WriteOnly))
                    file.write(argument.section(QLatin1Char('='), 1).toUtf8());
                command << file.fileName();
            } else {
                command << argument;
            }
        }
        QBuffer written, errors;
        written.open(QIODevice::WriteOnly);
        errors.open(QIODevice::WriteOnly);
        QCOMPARE(run_command(parse_command_line(command), written, errors), status);
        const QString prefix = folder.path() + QLatin1Char('/');
        QVERIFY2(QString::fromUtf8(written.data()).remove(prefix).left(out.size()) == out, written.data().left(200));
        const QStringList lines = QString::fromUtf8(errors.data()).remove(prefix).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), err.size());
        for (int i = 0; i < err.size(); ++i)
            QVERIFY2(lines[i].startsWith(err[i]), qPrintable(lines[i]));
    }

    // With --output, JSON and GIFT name picture files written beside it, which
    // the converted bank then finds; a picture's name cannot place a file
    // elsewhere, nor over another picture. Moodle XML keeps them inside.
    void pictures_of_a_converted_bank()
    {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("out")));
        ImportedBank bank = bank_of({1});
        bank.questions[0].diagrams = {QString(), QStringLiteral("../../evil name.png"), QStringLiteral(".hidden"),
                                      QStringLiteral("x/evil name.png")};
        for (size_t k = 1; k <= 3; ++k)
            bank.pictures.insert(bank.questions[0].diagrams[k], png(int(k)));
        QBuffer unused;
        const QString out = folder.filePath(QStringLiteral("out/bank.json"));
        QVERIFY(convert_bank(bank, BankFormat::Json, out, unused).written);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(folder.filePath(QStringLiteral("out"))).entryList(QDir::Files, QDir::Name),
                 (QStringList{"bank-evil_name-2.png", "bank-evil_name.png", "bank-hidden", "bank.json"}));
        QCOMPARE(read_bank_file(out).questions.at(0).diagrams,
                 (std::array<QString, 4>{QString(), "bank-evil_name.png", "bank-hidden", "bank-evil_name-2.png"}));
        QVERIFY(lint_bank(read_bank_file(out), folder.filePath(QStringLiteral("out"))).empty());

        const QString xml = folder.filePath(QStringLiteral("bank.xml"));
        QVERIFY(convert_bank(bank, BankFormat::MoodleXml, xml, unused).written);
        QCOMPARE(read_bank_file(xml).pictures.size(), 3);

        // Names of 300 characters are shortened, not refused by the file system.
        bank.pictures.clear();
        for (size_t k = 1; k <= 3; ++k) {
            bank.questions[0].diagrams[k] = QString(300, QChar(char16_t(u'a' + k))) + QStringLiteral(".png");
            bank.pictures.insert(bank.questions[0].diagrams[k], "png");
        }
        QVERIFY(convert_bank(bank, BankFormat::Gift, folder.filePath(QStringLiteral("long.gift")), unused).written);
        QCOMPARE(QDir(folder.path()).entryList({"long-*.png"}, QDir::Files).size(), 3);

        // A write that fails (the file size limit, as a full disk would) says
        // why, and the pictures already written are removed.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("full")));
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{16, limit.rlim_max};
        const auto old_handler = signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        const ConversionResult failed = convert_bank(bank, BankFormat::Json, folder.filePath(QStringLiteral("full/bank.json")), unused);
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, old_handler);
        QVERIFY(!failed.written);
        QVERIFY2(failed.messages.join(' ').contains(QStringLiteral("File too large")), qPrintable(failed.messages.join(' ')));
        QVERIFY(QDir(folder.filePath(QStringLiteral("full"))).isEmpty());
    }

    // --output writes only files this run creates: an existing file, a
    // symbolic link (to a file elsewhere, or dangling) or a FIFO at the
    // output's name or a picture's is refused, named, and left as it was;
    // nothing else is left behind.
    void refuses_to_write_over_anything_data()
    {
        QTest::addColumn<QString>("existing");  // beside out.json: file, link, dangling link or fifo
        QTest::addColumn<QString>("kind");
        for (const char *name : {"out.json", "out-diagram.png"}) {
            for (const char *kind : {"file", "link", "dangling link", "fifo"})
                QTest::newRow(qPrintable(QStringLiteral("%1 as %2").arg(kind, name))) << name << kind;
        }
    }

    void refuses_to_write_over_anything()
    {
        QFETCH(QString, existing);
        QFETCH(QString, kind);
        QTemporaryDir folder;
        QDir dir(folder.path());
        QVERIFY(dir.mkdir(QStringLiteral("bank")));
        const QString outside = folder.filePath(QStringLiteral("bashrc"));
        QFile precious(outside);
        QVERIFY(precious.open(QIODevice::WriteOnly) && precious.write("keep me") == 7);
        precious.close();
        const QString path = folder.filePath(QStringLiteral("bank/") + existing);
        if (kind == QLatin1String("file"))
            QVERIFY(QFile::copy(outside, path));
        else if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(QStringLiteral("../bashrc"), path));
        else if (kind == QLatin1String("dangling link"))
            QVERIFY(QFile::link(QStringLiteral("../nothing"), path));
        else
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const QStringList before = QDir(folder.filePath(QStringLiteral("bank"))).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);

        ImportedBank bank = bank_of({1});
        bank.questions[0].diagrams[1] = QStringLiteral("diagram.png");
        bank.pictures.insert(QStringLiteral("diagram.png"), QByteArray("picture bytes"));
        QBuffer unused;
        const ConversionResult result = convert_bank(bank, BankFormat::Json, folder.filePath(QStringLiteral("bank/out.json")), unused);
        QVERIFY(!result.written);
        QVERIFY2(result.messages.join('\n').contains(path + QStringLiteral(" already exists")), qPrintable(result.messages.join('\n')));
        QCOMPARE(QDir(folder.filePath(QStringLiteral("bank"))).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), before);
        QVERIFY(precious.open(QIODevice::ReadOnly));
        QCOMPARE(precious.readAll(), QByteArray("keep me"));
        QCOMPARE(QFileInfo(path).isSymLink(), kind.endsWith(QLatin1String("link")));
    }

    // The program itself: the authors' tools, the help and a refused command
    // line need no display; Qt's own options are left to Qt.
    void runs_without_a_display_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");  // a line of standard output, "" = any
        QTest::addColumn<QString>("err");  // a line of standard error, "" = any
        QTest::newRow("check") << QStringList{"--check", kData + "switching.gift", kData + "none.gift"} << 2
                               << kData + "switching.gift: 8 questions (6 with one right answer, 1 with several right, 1 typed, 0 labs), 0 skipped"
                               << kData + "none.gift: error: no such file";
        QTest::newRow("Qt's option passed over") << QStringList{"-platform", "offscreen", "--check", kData + "switching.gift"}
                                                 << 0 << "" << "";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Options:" << "";
        QTest::newRow("check, no file") << QStringList{"--check"} << 2 << "" << "--check needs at least one bank FILE.";
        QTest::newRow("mistyped option") << QStringList{"--chekc", "a.gift"} << 2 << "" << "Unknown option 'chekc'.";
        QTest::newRow("convert, no --to") << QStringList{"--convert", "builtin"} << 2 << ""
                                          << "--convert needs --to json, gift or moodle-xml.";
        QTest::newRow("two banks") << QStringList{"a.gift", "b.gift"} << 2 << "" << "Try --help.";
    }

    void runs_without_a_display()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUIZ_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(30000));
        const QStringList written = QString::fromUtf8(program.readAllStandardOutput()).split('\n');
        const QStringList errors = QString::fromUtf8(program.readAllStandardError()).split('\n');
        QVERIFY2(program.exitStatus() == QProcess::NormalExit, qPrintable(errors.join('\n')));
        QCOMPARE(program.exitCode(), status);
        QVERIFY2(out.isEmpty() || written.contains(out), qPrintable(written.join('\n')));
        QVERIFY2(err.isEmpty() || std::any_of(errors.begin(), errors.end(), [&](const QString &line) { return line.startsWith(err); }),
                 qPrintable(errors.join('\n')));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
