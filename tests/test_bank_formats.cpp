// Importers and exporters of the bank formats: the sample files in
// data/formats cover every feature and every problem each format reports.
#include "bank/formats/bank_formats.h"
#include "bank/bank_loaders.h"
#include "bank/question_bank.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kData = QStringLiteral(DATA_DIR "/formats/");

ImportedBank sample(const QString &name)
{
    return read_bank_file(kData + name);
}

QString joined(const QString *items, size_t count)
{
    QStringList list;
    for (size_t k = 1; k < count; ++k)
        list << items[k];
    while (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    return list.join(QLatin1Char('|'));
}

QString field(const question_record &r, const QString &name)
{
    if (name == QLatin1String("question"))
        return r.question;
    if (name == QLatin1String("answers"))
        return joined(r.answers.data(), r.answers.size());
    if (name == QLatin1String("correct")) {
        QStringList right;
        for (size_t k = 1; k < r.correct.size(); ++k) {
            if (r.correct[k] == 1)
                right << QString::number(k);
        }
        return right.join(QLatin1Char(','));
    }
    if (name == QLatin1String("explanation"))
        return r.explanation;
    if (name == QLatin1String("topic"))
        return r.topic;
    if (name == QLatin1String("type"))
        return r.question_type;
    if (name == QLatin1String("feedback"))
        return joined(r.answer_feedback.data(), r.answer_feedback.size());
    if (name == QLatin1String("matches"))
        return joined(r.matches.data(), r.matches.size());
    if (name == QLatin1String("diagrams"))
        return joined(r.diagrams.data(), r.diagrams.size());
    if (name == QLatin1String("exhibits"))
        return joined(r.exhibits.data(), r.exhibits.size());
    if (name == QLatin1String("diagram descriptions"))
        return joined(r.diagram_descriptions.data(), r.diagram_descriptions.size());
    if (name == QLatin1String("clue"))
        return r.clue;
    if (name == QLatin1String("tolerances")) {
        QStringList values;
        for (size_t k = 1; k <= max_answers && !r.answers[k].isEmpty(); ++k)
            values << QString::number(r.tolerances[k]);
        return values.join(QLatin1Char('|'));
    }
    if (name == QLatin1String("units")) {
        QStringList units;
        for (const AnswerUnit &unit : r.units)
            units << QStringLiteral("%1=%2").arg(unit.name).arg(unit.multiplier);
        return units.join(QLatin1Char('|'));
    }
    if (name == QLatin1String("note"))
        return r.answer_note;
    if (name == QLatin1String("weights")) {
        QStringList weights;
        for (size_t k = 1; k < r.answers.size() && !r.answers[k].isEmpty(); ++k)
            weights << QString::number(answer_weight(r, k));
        return weights.join(QLatin1Char('|'));
    }
    if (name == QLatin1String("case"))
        return r.case_sensitive ? QStringLiteral("case") : QStringLiteral("no case");
    return QStringLiteral("no field %1").arg(name);
}

// What every format keeps of a question.
QString core(const question_record &r)
{
    QStringList parts;
    for (const char *name : {"question", "answers", "correct", "explanation", "topic", "type", "feedback", "diagrams", "weights",
                             "tolerances", "matches"})
        parts << field(r, QLatin1String(name));
    return parts.join(QLatin1String(" ## "));
}

ImportedBank builtin_bank()
{
    QuestionBank bank;
    fill_question_bank(bank);
    ImportedBank imported;
    imported.title = bank.test_title;
    imported.author = bank.author_email;
    for (int id = 1; id <= bank.total_questions; ++id)
        imported.questions.push_back(bank.at(id));
    return imported;
}

ImportedBank reimported(const ImportedBank &bank, BankFormat format)
{
    ImportedBank again = import_bank(export_bank(bank, format), format);
    // Pictures travel only in Moodle XML; the others name them.
    if (format != BankFormat::MoodleXml)
        again.pictures = bank.pictures;
    return again;
}

} // namespace

class TestBankFormats : public QObject {
    Q_OBJECT

private slots:
    void problems_and_lines_data();
    void problems_and_lines();
    void imported_fields_data();
    void imported_fields();
    void builtin_round_trip_data();
    void builtin_round_trip();
    void sample_round_trip_data();
    void sample_round_trip();
    void every_sample_reads_back_data();
    void every_sample_reads_back();
    void bad_input_data();
    void bad_input();
    void read_as_meant_data();
    void read_as_meant();
    void many_questions_data();
    void many_questions();
    void unreadable_files_data();
    void unreadable_files();
    void format_names_data();
    void format_names();
};

// lines: where each question starts; problems: "LINE E|W words" each,
// separated by ";", in order, the words found in the message.
void TestBankFormats::problems_and_lines_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("problems");
    QTest::newRow("aiken") << "aiken-good.txt" << "1,8,15,21" << "";
    QTest::newRow("aiken errors") << "aiken-errors.txt" << "38"
                                  << "1 E no ANSWER; 5 E E names no option; 10 E expected option B; 15 E more than 10;"
                                     "29 E fewer than two; 33 E names no letter; 43 E no ANSWER";
    QTest::newRow("gift") << "gift-good.gift" << "4,12,18,21,23,25,28,33,35" << "";
    QTest::newRow("gift errors") << "gift-errors.gift" << "24,26"
                                 << "2 E essay; 4 E \"twelve\") is not a number; 6 E matching; 8 E description;"
                                    "10 E not closed; 12 E title; 14 E text before; 16 E more than 10; 18 E fewer than two;"
                                    "20 E no right answer; 22 E no answer with full credit";
    QTest::newRow("moodle") << "moodle-good.xml" << "6,18,29,36,42,51" << "";
    QTest::newRow("moodle errors") << "moodle-errors.xml" << "43"
                                   << "3 E essay; 4 E matching; 5 E \"twelve\") is not a number; 6 E cloze;"
                                      "7 E description; 8 E without a type; 11 E more than 10; 25 E fewer than two;"
                                      "29 E no right answer; 34 E full credit; 38 E no text";
    QTest::newRow("moodle dtd") << "moodle-dtd.xml" << ""
                                << "0 E no question could be read; 5 E document type declaration";
    QTest::newRow("json") << "json-good.json" << "3,9" << "";
    QTest::newRow("json errors") << "json-errors.json" << "12"
                                 << "3 E no text; 4 E more than 10; 5 E (3) names no answer; 6 E not a question;"
                                    "7 E no right answer; 8 E fewer than two; 9 E without an accepted answer;"
                                    "10 E without a \"lab\" object; 11 E the lab: link end SW1 P9 is not a port";
    QTest::newRow("json cut") << "json-truncated.json" << "" << "0 E no question could be read; 4 E JSON error";
    QTest::newRow("gift typed") << "gift-typed.gift" << "4,11,13,19,21,23" << "";
    QTest::newRow("moodle typed") << "moodle-typed.xml" << "3,11,18,26" << "";
    QTest::newRow("moodle cut") << "moodle-cut.xml" << "" << "0 E XML error at line 11: Entity 'nbsp' not declared";
    QTest::newRow("json typed") << "json-typed.json" << "3,8" << "";
    QTest::newRow("aiken braces") << "aiken-braces.txt" << "1,7" << "";
    QTest::newRow("gift matching") << "gift-matching.gift" << "5,13,15,20,39" << "20 W no feedback; 25 E 11 stems and 0 distractors";
    QTest::newRow("moodle matching") << "moodle-matching.xml" << "4"
                                     << "15 E two stems or more: 1 given; 20 E 6 stems and 5 distractors; 34 E stem 2 (\"SW2\")";
    QTest::newRow("json matching") << "json-matching.json" << "2,7"
                                   << "5 E each answer (a stem) needs its meaning; 6 E not a list of texts; 7 W \"matches\" on a question";
}

void TestBankFormats::problems_and_lines()
{
    QFETCH(QString, file);
    QFETCH(QString, lines);
    QFETCH(QString, problems);
    const ImportedBank bank = sample(file);
    QStringList starts;
    for (int line : bank.question_lines)
        starts << QString::number(line);
    QCOMPARE(starts.join(QLatin1Char(',')), lines);
    QCOMPARE(bank.questions.size(), bank.question_lines.size());

    const QStringList expected = problems.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QStringList found;
    for (const BankProblem &p : bank.problems)
        found << QStringLiteral("%1 %2 %3").arg(p.line).arg(p.skipped ? 'E' : 'W').arg(p.message);
    QCOMPARE(found.size(), expected.size());
    for (int k = 0; k < expected.size(); ++k) {
        const QString want = expected.at(k).trimmed();
        const qsizetype words = want.indexOf(QLatin1Char(' '), want.indexOf(QLatin1Char(' ')) + 1);
        QVERIFY2(found.at(k).startsWith(want.left(words)) && found.at(k).contains(want.mid(words + 1)),
                 qPrintable(found.at(k) + QLatin1String(" != ") + want));
    }
}

void TestBankFormats::imported_fields_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    const auto row = [](const char *file, int index, const char *name, const QString &value) {
        QTest::addRow("%s %d %s", file, index, name) << QString::fromLatin1(file) << index << QString::fromLatin1(name) << value;
    };
    row("aiken-good.txt", 0, "answers", "A hub|A learning bridge|A repeater|A patch panel");
    row("aiken-good.txt", 0, "correct", "2");
    row("aiken-good.txt", 1, "answers", "Priority code point|VLAN identifier|Source port number|Hop limit");
    row("aiken-good.txt", 1, "correct", "1,3");
    row("aiken-good.txt", 1, "explanation", "The tag holds TPID, PCP, DEI and VID; the port number is a TCP field.");
    row("aiken-good.txt", 2, "question", "A switch floods a unicast frame when\r\nits address table has no entry for the "
                                         "destination.\r\nWhich frames are flooded as well?");
    row("aiken-good.txt", 3, "question", "What do <b>PoE</b> & PoE+ supply over the cable?");
    row("aiken-good.txt", 3, "correct", "1");
    row("gift-kinds.gift", 0, "correct", "1,2,3,4");
    row("gift-kinds.gift", 1, "answers", "STP|RSTP|MSTP|PVST|PVST+|Rapid PVST+|802.1D|802.1w|802.1s");
    row("gift-kinds.gift", 2, "type", "NUMERICAL");
    row("gift-kinds.gift", 2, "tolerances", "0.01");
    row("gift-kinds.gift", 3, "answers", "3");
    row("gift-kinds.gift", 3, "tolerances", "2");
    row("gift-kinds.gift", 4, "answers", "32768|4096|*");
    row("gift-kinds.gift", 4, "weights", "100|0|0");
    row("gift-kinds.gift", 4, "feedback", "Right: the default.|That is the step between priorities.|"
                                          "Look up the 802.1D default.");
    row("moodle-kinds.xml", 0, "correct", "7");
    row("moodle-kinds.xml", 1, "answers", "100|*");
    row("moodle-kinds.xml", 1, "units", "m=1|km=0.001");
    row("json-kinds.json", 1, "tolerances", "0.5|0");
    row("json-kinds.json", 1, "units", "%=1");
    row("json-kinds.json", 0, "answers", "Discarding|Blocking|Listening|Learning|Disabled|Broken|Forwarding|"
                                         "Err-disabled|Root inconsistent|Alternate");
    row("gift-good.gift", 0, "topic", "Spanning tree");
    row("gift-good.gift", 0, "feedback", "Right: priority first, then the MAC address.|Port count plays no part.");
    row("gift-good.gift", 0, "explanation", "The lowest priority wins; a tie goes to the lowest MAC address.");
    row("gift-good.gift", 1, "correct", "1,2");
    row("gift-good.gift", 2, "question", "Which notation is a MAC mask {ffff.ffff.0000} in = form: 12:34?");
    row("gift-good.gift", 2, "answers", "exact~match|other#one");
    row("gift-good.gift", 3, "type", "FILL_IN");
    row("gift-good.gift", 3, "answers", "VLAN identifier|VLAN ID|VLAN");
    row("gift-good.gift", 3, "weights", "100|100|50");
    row("gift-good.gift", 3, "topic", "VLANs/trunks");
    row("gift-good.gift", 4, "answers", "True|False");
    row("gift-good.gift", 4, "correct", "1");
    row("gift-good.gift", 4, "feedback", "Yes: one VLAN, untagged.|Think of what \"access\" means.");
    row("gift-good.gift", 5, "question", "A trunk port\r\nalways tags the native VLAN.");
    row("gift-good.gift", 5, "correct", "2");
    row("gift-good.gift", 6, "question", "Which port is blocked in this <diagram>?");
    row("gift-good.gift", 6, "answers", "Port 2|Port 1");
    row("gift-good.gift", 6, "diagrams", "loop.png");
    row("gift-good.gift", 7, "question", "The default VLAN is VLAN _____ on most switches.");
    row("gift-good.gift", 8, "question", "Which **two** protocols are link aggregation protocols?");
    row("gift-good.gift", 8, "feedback", "||VTP carries VLAN names.");
    row("moodle-good.xml", 0, "question", "Which LACP mode starts negotiation?\r\nPick one & only one.");
    row("moodle-good.xml", 0, "answers", "Active|Passive|On");
    row("moodle-good.xml", 0, "explanation", "Active ports send LACPDUs.\r\nPassive ports only answer.");
    row("moodle-good.xml", 0, "feedback", "Right.|It waits.");
    row("moodle-good.xml", 0, "clue", "Think of who speaks first.");
    row("moodle-good.xml", 0, "topic", "Link aggregation");
    row("moodle-good.xml", 1, "correct", "1,2");
    row("moodle-good.xml", 2, "type", "FILL_IN");
    row("moodle-good.xml", 2, "answers", "RSTP|802.1w|STP");
    row("moodle-good.xml", 5, "weights", "100|50");
    row("moodle-good.xml", 2, "topic", "Spanning tree");
    row("moodle-good.xml", 3, "answers", "True|False");
    row("moodle-good.xml", 3, "correct", "1");
    row("moodle-good.xml", 3, "feedback", "Correct.|It is the root.");
    row("moodle-good.xml", 4, "question", "Which port blocks in this ring?");
    row("moodle-good.xml", 4, "diagrams", "ring one.png");
    row("moodle-good.xml", 4, "diagram descriptions", "ring");  // the <img>'s alt text
    row("moodle-good.xml", 5, "diagrams", "uplink.png");
    row("moodle-good.xml", 5, "correct", "1");
    row("json-good.json", 0, "feedback", "Yes.|Voice frames are tagged.|4095 is reserved.");
    row("json-good.json", 0, "explanation", "Untagged frames belong to the native VLAN.\r\nBoth ends should agree on it.");
    row("json-good.json", 0, "exhibits", "trunk-config.txt");
    row("json-good.json", 0, "note", "See the VLAN chapter.");
    row("json-good.json", 1, "type", "FILL_IN");
    row("gift-typed.gift", 0, "weights", "100|100|50|0");
    row("gift-typed.gift", 0, "feedback", "Right: the lowest cost to the root.|Right, a root port.|"
                                          "Half: a designated port faces away from the root.|Think of the port role toward the root.");
    row("gift-typed.gift", 1, "answers", "RSTP|STP|MSTP");
    row("gift-typed.gift", 1, "correct", "1");
    row("gift-typed.gift", 2, "weights", "100|75|0");
    row("gift-typed.gift", 3, "question", "Which command word (go in some shells) leaves configuration mode?");
    row("gift-typed.gift", 4, "question", "A blocked port still receives BPDUs.");
    row("gift-typed.gift", 5, "answers", "\\*|*");
    row("moodle-typed.xml", 0, "case", "case");
    row("moodle-typed.xml", 0, "weights", "100|0|0");
    row("moodle-typed.xml", 0, "feedback", "Right.|The name is all in lower case.|It is the word for VLAN 1.");
    row("moodle-typed.xml", 1, "case", "no case");
    row("moodle-typed.xml", 1, "weights", "100|50");
    row("moodle-typed.xml", 2, "weights", "100|33.3333|0");
    row("moodle-typed.xml", 3, "weights", "50|50|-25|0");
    row("moodle-typed.xml", 3, "correct", "1,2");
    row("json-typed.json", 0, "case", "case");
    row("json-typed.json", 0, "weights", "100|0|0");
    row("json-typed.json", 1, "weights", "100|40|0");
    row("aiken-braces.txt", 0, "question", "What does the function int f() { return 0; } return?");
    row("gift-matching.gift", 0, "type", "MATCHING");
    row("gift-matching.gift", 0, "answers", "Root port|Designated port|Alternate port");
    row("gift-matching.gift", 0, "matches", "The best path from this bridge toward the root|Forwards for its segment, away from the root|"
                                            "A blocked backup path toward the root|Carries frames between VLANs");
    row("gift-matching.gift", 0, "explanation", "Every bridge but the root has one root port; every segment one designated port.");
    row("gift-matching.gift", 0, "topic", "Spanning tree");
    row("gift-matching.gift", 1, "matches", "2 seconds|15 seconds|20 seconds|300 seconds");
    row("gift-matching.gift", 2, "question", "Match each interface {as written} with its role:");
    row("gift-matching.gift", 2, "answers", "Gi0/1|Fa0/5 = Fa0/6");
    row("gift-matching.gift", 2, "matches", "Uplink -> toward the core|An EtherChannel #1");
    row("gift-matching.gift", 3, "matches", "Untagged frames of one VLAN|Tagged frames of several VLANs");
    row("gift-matching.gift", 3, "feedback", "");
    row("moodle-matching.xml", 0, "question", "Match each 802.1D port state with what the port does.");
    row("moodle-matching.xml", 0, "answers", "Blocking|Learning|Forwarding");
    row("moodle-matching.xml", 0, "matches", "Receives BPDUs, forwards nothing|Fills its address table, forwards nothing|"
                                             "Forwards frames & learns addresses|Sends frames between VLANs");
    row("moodle-matching.xml", 0, "explanation", "A port listens and learns before it forwards.");
    row("moodle-matching.xml", 0, "correct", "");
    row("json-matching.json", 0, "answers", "active|desirable|on");
    row("json-matching.json", 0, "matches", "LACP|PAgP|None: the bundle is forced|VTP");
}

void TestBankFormats::imported_fields()
{
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, value);
    const ImportedBank bank = sample(file);
    QVERIFY(size_t(index) < bank.questions.size());
    QCOMPARE(field(bank.questions[size_t(index)], name), value);
    for (const question_record &record : bank.questions) {
        for (const QString &diagram : record.diagrams) {
            if (file.endsWith(QLatin1String(".xml")) && !diagram.isEmpty())
                QVERIFY2(bank.pictures.value(diagram).startsWith("\x89PNG"), qPrintable(diagram));
        }
    }
}

void TestBankFormats::builtin_round_trip_data()
{
    QTest::addColumn<BankFormat>("format");
    QTest::newRow("gift") << BankFormat::Gift;
    QTest::newRow("moodle xml") << BankFormat::MoodleXml;
    QTest::newRow("json") << BankFormat::Json;
}

// Built-in bank to the format, back, then to JSON and back: the same questions.
void TestBankFormats::builtin_round_trip()
{
    QFETCH(BankFormat, format);
    const ImportedBank builtin = builtin_bank();
    const ImportedBank back = reimported(reimported(builtin, format), BankFormat::Json);
    QVERIFY2(back.problems.empty(), qPrintable(back.problems.empty() ? QString() : back.problems.front().message));
    QCOMPARE(back.questions.size(), builtin.questions.size());
    for (size_t k = 0; k < builtin.questions.size(); ++k)
        QCOMPARE(core(back.questions[k]), core(builtin.questions[k]));
}

void TestBankFormats::sample_round_trip_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<BankFormat>("format");
    for (const char *file : {"gift-good.gift", "moodle-good.xml", "json-good.json", "aiken-good.txt", "gift-typed.gift",
                             "moodle-typed.xml", "json-typed.json", "gift-kinds.gift", "moodle-kinds.xml", "json-kinds.json",
                             "gift-matching.gift", "moodle-matching.xml", "json-matching.json"}) {
        QTest::addRow("%s to gift", file) << file << BankFormat::Gift;
        QTest::addRow("%s to moodle xml", file) << file << BankFormat::MoodleXml;
        QTest::addRow("%s to json", file) << file << BankFormat::Json;
    }
    QTest::addRow("aiken to aiken") << "aiken-errors.txt" << BankFormat::Aiken;
}

void TestBankFormats::sample_round_trip()
{
    QFETCH(QString, file);
    QFETCH(BankFormat, format);
    const ImportedBank bank = sample(file);
    const ImportedBank back = reimported(bank, format);
    QVERIFY(back.problems.empty());
    QCOMPARE(back.questions.size(), bank.questions.size());
    for (size_t k = 0; k < bank.questions.size(); ++k) {
        QCOMPARE(core(back.questions[k]), core(bank.questions[k]));
        // GIFT has no case flag nor units (converting says so, format_fit), nor a
        // diagram's description, which goes out as the <img>'s alt text.
        if (format != BankFormat::Gift) {
            QCOMPARE(back.questions[k].case_sensitive, bank.questions[k].case_sensitive);
            QCOMPARE(field(back.questions[k], "diagram descriptions"), field(bank.questions[k], "diagram descriptions"));
            QCOMPARE(field(back.questions[k], "units"), field(bank.questions[k], "units"));
        }
        for (const QString &name : bank.questions[k].diagrams)
            QCOMPARE(back.pictures.value(name), bank.pictures.value(name));
    }
    if (format == BankFormat::Json)
        QCOMPARE(back.title, bank.title);
}

void TestBankFormats::every_sample_reads_back_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<BankFormat>("format");
    const QStringList files = QDir(kData).entryList(QDir::Files);
    QVERIFY(files.size() >= 12);
    for (const QString &file : files) {
        for (const auto &[name, format] : {std::pair{"json", BankFormat::Json}, {"gift", BankFormat::Gift},
                                           {"moodle xml", BankFormat::MoodleXml}})
            QTest::addRow("%s to %s", qPrintable(file), name) << file << format;
    }
    for (const char *file : {"gift-matching.gift", "json-kinds.json"})
        QTest::addRow("%s to aiken", file) << file << BankFormat::Aiken;
}

// What the fuzzers check on every input: all that was read can be written
// and read again (files they found are among the samples).
void TestBankFormats::every_sample_reads_back()
{
    QFETCH(QString, file);
    QFETCH(BankFormat, format);
    const ImportedBank bank = sample(file);
    // Only JSON holds a lab; Aiken holds only choices.
    const auto left_out = [format](const question_record &r) {
        if (format == BankFormat::Aiken)
            return is_typed_question(r) || is_matching_question(r) || is_lab_question(r);
        return format != BankFormat::Json && is_lab_question(r);
    };
    const auto kept = std::count_if(bank.questions.begin(), bank.questions.end(), [&](const question_record &r) { return !left_out(r); });
    QCOMPARE(reimported(bank, format).questions.size(), size_t(kept));
}

void TestBankFormats::bad_input_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<BankFormat>("format");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("problem");  // in the first problem, "" for none
    const QByteArray aiken = "Q?\nA) x\nB) y\nANSWER: A\n";
    QTest::newRow("binary gift") << QByteArray("\x7f" "ELF\x02\x01\0\0{=a ~b}", 14) << BankFormat::Gift << 0 << "binary";
    QTest::newRow("binary xml") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << BankFormat::MoodleXml << 0 << "XML error";
    QTest::newRow("empty json") << QByteArray() << BankFormat::Json << 0 << "JSON error";
    QTest::newRow("json list") << QByteArray("[1, 2]") << BankFormat::Json << 0 << "no \"questions\"";
    QTest::newRow("too large") << QByteArray(max_bank_file_bytes + 1, ' ') << BankFormat::Aiken << 0 << "larger than 64 MiB";
    QTest::newRow("utf-16 aiken") << QByteArray("\xff\xfe", 2) + QByteArray(reinterpret_cast<const char *>(QString::fromLatin1(aiken).utf16()), aiken.size() * 2)
                                  << BankFormat::Aiken << 1 << "";
    QTest::newRow("latin-1 aiken") << QByteArray("Caf\xe9?\nA) x\nB) y\nANSWER: B\n") << BankFormat::Aiken << 1 << "not UTF-8";
    QTest::newRow("deep xml") << QByteArray("<quiz><question type=\"multichoice\">") + QByteArray("<a>").repeated(100000)
                              << BankFormat::MoodleXml << 0 << "nested too deeply";
    QTest::newRow("deep json") << QByteArray("{\"questions\":") + QByteArray("[").repeated(100000) << BankFormat::Json << 0
                               << "JSON error";
    QTest::newRow("wide xml") << QByteArray("<quiz><question type=\"multichoice\">") + QByteArray("<a/>").repeated(100000)
                              << BankFormat::MoodleXml << 0 << "more than 1000 elements";
    QTest::newRow("not a quiz") << QByteArray("<html><body>hello</body></html>") << BankFormat::MoodleXml << 0 << "not a Moodle";
    QTest::newRow("unknown entity") << QByteArray("<quiz><question type=\"essay\">&x;</question></quiz>")
                                    << BankFormat::MoodleXml << 0 << "XML error";
    QTest::newRow("broken html") << QByteArray("<quiz><question type=\"truefalse\"><questiontext><text>&lt;p&gt;Half &amp;#xD800; "
                                               "&amp;bogus; &lt;img src=</text></questiontext><answer fraction=\"100\"><text>true</text>"
                                               "</answer><answer><text>false</text></answer></question></quiz>")
                                 << BankFormat::MoodleXml << 1 << "";
    QTest::newRow("ampersands") << QByteArray("<quiz><question type=\"truefalse\"><questiontext format=\"html\"><text>") +
                                       QByteArray("&amp;").repeated(2000000) +
                                       "</text></questiontext><answer fraction=\"100\"><text>true</text></answer>"
                                       "<answer><text>false</text></answer></question></quiz>"
                                << BankFormat::MoodleXml << 1 << "";
    QTest::newRow("many answers") << QByteArray("Q? {") + QByteArray("~a").repeated(1000000) + "}" << BankFormat::Gift << 0
                                  << "1000000 answers: more than 10";
    QTest::newRow("many problems") << QByteArray("x\n\n").repeated(5000) << BankFormat::Gift << 0 << "description";
    QTest::newRow("blank line in answers") << QByteArray("Q? {\n=a\n\n~b\n}\n") << BankFormat::Gift << 0 << "not closed with }";
    QTest::newRow("stray brace") << QByteArray("Q? {=a ~b}\n\n~c\n}\n") << BankFormat::Gift << 1
                                 << "a } without its {: a blank line inside the answers";
    QTest::newRow("weights against the right answer")
        << QByteArray(R"({"questions": [{"question": "Q?", "answers": ["a", "b"], "correct": [1], "answer_weights": [0, 0]}]})")
        << BankFormat::Json << 1 << "give no right answer any credit";
    QTest::newRow("weight out of range")
        << QByteArray(R"({"questions": [{"question": "Q?", "answers": ["a", "b"], "correct": [1], "answer_weights": [150, 0]}]})")
        << BankFormat::Json << 1 << "the weight 150 of answer 1 is not from -100 to 100: read as 100";
    QTest::newRow("only empty answers") << QByteArray("Q? {~ =}") << BankFormat::Gift << 0 << "no answers between the braces";
}

void TestBankFormats::bad_input()
{
    QFETCH(QByteArray, bytes);
    QFETCH(BankFormat, format);
    QFETCH(int, questions);
    QFETCH(QString, problem);
    const ImportedBank bank = import_bank(bytes, format);
    QCOMPARE(int(bank.questions.size()), questions);
    QVERIFY(bank.problems.size() <= 1001);
    if (problem.isEmpty())
        QVERIFY(bank.problems.empty());
    else
        QVERIFY2(!bank.problems.empty() && bank.problems.front().message.contains(problem),
                 qPrintable(bank.problems.empty() ? QStringLiteral("no problem") : bank.problems.front().message));
    if (QTest::currentDataTag() == QLatin1String("latin-1 aiken"))
        QCOMPARE(bank.questions.front().question, QStringLiteral("Caf\u00e9?"));
}

// Questions read as their author meant them, the same again after a round
// trip through every format that can hold them, with the problems told.
void TestBankFormats::read_as_meant_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<BankFormat>("format");
    QTest::addColumn<QStringList>("questions");  // "text|answers|right|type[|files][|matches][|formatted]" each
    QTest::addColumn<QStringList>("problems");   // "line W|E message start" each
    QTest::newRow("gift, no blank line") << QByteArray("::Q1::One? {=a ~b}\n::Q2::Two? {=c ~d}\n\nThree? {=e ~f}\n")
                                         << BankFormat::Gift << QStringList{"Three?|e,f|1|single_answer"}
                                         << QStringList{"1 E no blank line before line 2"};
    QTest::newRow("gift, CR line ends") << QByteArray("::Q1::One? {=a ~b}\r\r::Q2::Two {\r=c\r~d\r}\r") << BankFormat::Gift
                                        << QStringList{"One?|a,b|1|single_answer", "Two|c,d|1|single_answer"} << QStringList();
    QTest::newRow("gift, either right") << QByteArray("Which VLANs can a trunk carry? {=10 =20 ~4095}") << BankFormat::Gift
                                        << QStringList{"Which VLANs can a trunk carry?|10,20,4095|1,2|ANY_ONE_RIGHT"} << QStringList();
    QTest::newRow("moodle, either right")
        << QByteArray("<quiz><question type=\"multichoice\"><questiontext><text>Which?</text></questiontext><single>true</single>"
                      "<answer fraction=\"100\"><text>10</text></answer><answer fraction=\"100\"><text>20</text></answer>"
                      "<answer fraction=\"0\"><text>4095</text></answer></question></quiz>")
        << BankFormat::MoodleXml << QStringList{"Which?|10,20,4095|1,2|ANY_ONE_RIGHT"} << QStringList();
    QTest::newRow("one bad byte in UTF-8") << QByteArray("Cr\xc3\xa8me\xff? {=oui ~non}\n\nO\xc3\xb9? {=l\xc3\xa0 ~ici}\n")
                                           << BankFormat::Gift
                                           << QStringList{"Cr\u00e8me\ufffd?|oui,non|1|single_answer", "O\u00f9?|l\u00e0,ici|1|single_answer"}
                                           << QStringList{"1 W the line holds bytes that are not UTF-8"};
    QTest::newRow("one Latin-1 line") << QByteArray("Caf\xe9? {=a ~b}\n\nO\xc3\xb9? {=oui ~non}\n") << BankFormat::Gift
                                      << QStringList{"Caf\u00e9?|a,b|1|single_answer", "O\u00f9?|oui,non|1|single_answer"}
                                      << QStringList{"1 W the line is not UTF-8"};
    QTest::newRow("text like a format mark, columns of spaces")
        << QByteArray("{\"questions\": [{\"question\": \"[plain] Port   State\\r\\n  Gi0/1  FWD\", \"answers\": [\"a  b\", \"c\"], "
                      "\"correct\": [1]}]}")
        << BankFormat::Json << QStringList{"[plain] Port   State\r\n  Gi0/1  FWD|a  b,c|1|single_answer"} << QStringList();
    QTest::newRow("json fields of the wrong type")
        << QByteArray("{\"questions\": [{\"question\": \"Q?\", \"answers\": [\"a\", \"b\"], \"correct\": [1], "
                      "\"explanation\": \"One line.\", \"topic\": [\"VLANs\"], \"exhibits\": [\"1\", \"2\", \"3\", \"4\"]},"
                      "{\"question\": \"R?\", \"answers\": [\"a\", \"b\"], \"correct\": [\"1\"]}]}")
        << BankFormat::Json << QStringList{"Q?|a,b|1|single_answer|1|2|3"}
        << QStringList{"1 W \"topic\" is not a text", "1 W \"exhibits\": only the first 3 of 4 are kept",
                       "1 E a right answer (\"1\") is a text, not a number"};
    QTest::newRow("matching stems that look like weights or hold an arrow's meaning")
        << QByteArray("{\"questions\": [{\"question\": \"Match.\", \"question_type\": \"MATCHING\", \"answers\": [\"%50%a\", \"b\"], "
                      "\"matches\": [\"1 -> 2\", \"3\", \"4\"]}]}")
        << BankFormat::Json << QStringList{"Match.|%50%a,b||MATCHING|1 -> 2,3,4"} << QStringList();
    // Formatting is kept for the question window, and nothing else of the HTML.
    QTest::newRow("gift html: formatting, a script, a picture on the web")
        << QByteArray("[html]Is <i>go</i> a <b onclick=\"x()\">verb</b> here?<script>alert(1)</script>"
                      "<img src=\"http://example.org/x.png\"> {=yes ~no}")
        << BankFormat::Gift << QStringList{"Is go a verb here?|yes,no|1|single_answer|Is <i>go</i> a <b>verb</b> here?"}
        << QStringList();
    QTest::newRow("gift html: a tag left open, another closed out of turn")
        << QByteArray("[html]<b>Root <i>bridge</b> election</i> {=yes ~no}") << BankFormat::Gift
        << QStringList{"Root bridge election|yes,no|1|single_answer|<b>Root <i>bridge</i></b> election"} << QStringList();
    QTest::newRow("moodle html: paragraphs, a link, a no-break space")
        << QByteArray("<quiz><question type=\"multichoice\"><questiontext format=\"html\"><text><![CDATA[<p>A frame on "
                      "VLAN&nbsp;<strong>10</strong> leaves an <em>access</em> port <a href=\"http://example.org\">untagged</a>."
                      "</p><p>Which port?</p>]]></text></questiontext><answer fraction=\"100\"><text>Gi0/1</text></answer>"
                      "<answer fraction=\"0\"><text>Gi0/2</text></answer></question></quiz>")
        << BankFormat::MoodleXml
        << QStringList{"A frame on VLAN 10 leaves an access port untagged.\r\nWhich port?|Gi0/1,Gi0/2|1|single_answer|"
                       "A frame on VLAN&nbsp;<b>10</b> leaves an <i>access</i> port untagged.<br>Which port?"}
        << QStringList();
    QTest::newRow("gift html: formats nested past the limit, closed out of turn")
        << (QByteArray("[html]") + QByteArray("<i>").repeated(20000) + "x" + QByteArray("</b>").repeated(20000) + " {=a ~b}")
        << BankFormat::Gift << QStringList{"x|a,b|1|single_answer|" + QString("<i>").repeated(16) + "x" + QString("</i>").repeated(16)}
        << QStringList();
    QTest::newRow("json: formatting given with attributes and a script")
        << QByteArray("{\"questions\": [{\"question\": \"Bold?\", \"question_html\": \"<img src=x onerror=alert(1)>"
                      "<b onclick=\\\"x\\\">Bold</b>?<script>bad()</script>\", \"answers\": [\"a\", \"b\"], \"correct\": [1]}]}")
        << BankFormat::Json << QStringList{"Bold?|a,b|1|single_answer|<b>Bold</b>?"} << QStringList();
    QTest::newRow("names outside the folder")
        << QByteArray("{\"questions\": [{\"question\": \"Q?\", \"answers\": [\"a\", \"b\"], \"correct\": [1], "
                      "\"exhibits\": [\"/etc/shadow\", \"notes/a.txt\", \"../../x\"], \"diagrams\": [\"~/.ssh/id_rsa\"]}]}")
        << BankFormat::Json << QStringList{"Q?|a,b|1|single_answer|notes/a.txt"}
        << QStringList{"1 W the exhibit \"/etc/shadow\" is left out", "1 W the exhibit \"../../x\" is left out",
                       "1 W the diagram \"~/.ssh/id_rsa\" is left out"};
}

void TestBankFormats::read_as_meant()
{
    QFETCH(QByteArray, bytes);
    QFETCH(BankFormat, format);
    QFETCH(QStringList, questions);
    QFETCH(QStringList, problems);
    const auto summary = [](const ImportedBank &bank) {
        QStringList lines;
        for (const question_record &record : bank.questions)
        {
            QStringList parts{field(record, "question"), field(record, "answers").replace('|', ','),
                              field(record, "correct"), record.question_type};
            if (!record.exhibits[1].isEmpty() || !record.diagrams[1].isEmpty())
                parts << (field(record, "exhibits") + field(record, "diagrams"));
            if (is_matching_question(record))
                parts << field(record, "matches").replace('|', ',');
            if (!record.question_html.isEmpty())
                parts << record.question_html;
            lines << parts.join('|');
        }
        return lines;
    };
    const ImportedBank bank = import_bank(bytes, format);
    QCOMPARE(summary(bank), questions);
    QStringList found;
    for (const BankProblem &p : bank.problems)
        found << QStringLiteral("%1 %2 %3").arg(p.line).arg(p.skipped ? 'E' : 'W').arg(p.message);
    QCOMPARE(found.size(), problems.size());
    for (int k = 0; k < problems.size(); ++k)
        QVERIFY2(found[k].startsWith(problems[k]), qPrintable(found[k]));
    // GIFT and Moodle XML hold no exhibit names: a conversion writes the
    // exhibits into the question text instead (see test_command_line).
    const bool exhibits = !bank.questions.empty() && !bank.questions[0].exhibits[1].isEmpty();
    for (const BankFormat out : {BankFormat::Gift, BankFormat::MoodleXml, BankFormat::Json}) {
        if (!exhibits || out == BankFormat::Json)
            QCOMPARE(summary(import_bank(export_bank(bank, out), out)), questions);
    }
}

void TestBankFormats::many_questions_data()
{
    QTest::addColumn<BankFormat>("format");
    QTest::newRow("aiken") << BankFormat::Aiken;
    QTest::newRow("gift") << BankFormat::Gift;
    QTest::newRow("moodle xml") << BankFormat::MoodleXml;
    QTest::newRow("json") << BankFormat::Json;
}

void TestBankFormats::many_questions()
{
    QFETCH(BankFormat, format);
    ImportedBank big;
    question_record record;
    record.answers = {QString(), QStringLiteral("Access"), QStringLiteral("Trunk")};
    record.correct[2] = 1;
    record.topic = QStringLiteral("VLANs");
    record.question_type = QStringLiteral("single_answer");
    for (int k = 0; k < 100000; ++k) {
        record.question = QStringLiteral("VLAN %1 tagged?").arg(k % 4094 + 1);
        big.questions.push_back(record);
    }
    const ImportedBank back = import_bank(export_bank(big, format), format);
    QCOMPARE(back.questions.size(), size_t(100000));
    QCOMPARE(back.questions.back().question, big.questions.back().question);
}

void TestBankFormats::unreadable_files_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");  // written to the file when not null
    QTest::addColumn<QString>("problem");
    QTest::newRow("missing") << "none.gift" << QByteArray() << "no such file";
    QTest::newRow("folder") << "." << QByteArray() << "not a file";
    QTest::newRow("empty") << "empty.txt" << QByteArray("") << "no question in the file";
    QTest::newRow("only errors") << "bad.gift" << QByteArray("Q? {}\n\nR? {#one}\n")
                                 << "no question could be read (line 1: essay questions are not supported; line 3: answer 1";
}

// A file that gives no question: one problem for the whole file, first.
void TestBankFormats::unreadable_files()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!bytes.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const ImportedBank bank = read_bank_file(path);
    QVERIFY(bank.questions.empty());
    QVERIFY(!bank.problems.empty());
    QCOMPARE(bank.problems.front().line, 0);
    QVERIFY2(bank.problems.front().skipped && bank.problems.front().message.startsWith(problem),
             qPrintable(bank.problems.front().message));
}

void TestBankFormats::format_names_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QString>("word");
    QTest::addColumn<BankFormat>("format");
    QTest::newRow("json suffix") << "a.JSON" << QByteArray("x") << "json" << BankFormat::Json;
    QTest::newRow("xml suffix") << "a.xml" << QByteArray("{") << "moodle-xml" << BankFormat::MoodleXml;
    QTest::newRow("gift suffix") << "a.gift" << QByteArray("ANSWER: A") << "gift" << BankFormat::Gift;
    QTest::newRow("aiken text") << "a.txt" << QByteArray("Q?\nA) x\nANSWER: A") << "aiken" << BankFormat::Aiken;
    QTest::newRow("gift text") << "a.txt" << QByteArray("Q? {=x ~y}") << "GIFT" << BankFormat::Gift;
    QTest::newRow("aiken with braces") << "a.txt" << QByteArray("int f() { return 0; }?\nA) 0\nB) 1\nANSWER: A") << "aiken"
                                       << BankFormat::Aiken;
    QTest::newRow("json text") << "bank" << QByteArray("  {\"questions\": []}") << "json" << BankFormat::Json;
    QTest::newRow("xml text") << "bank.txt" << QByteArray("\xef\xbb\xbf<?xml?>") << "xml" << BankFormat::MoodleXml;
}

void TestBankFormats::format_names()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, start);
    QFETCH(QString, word);
    QFETCH(BankFormat, format);
    QCOMPARE(detect_format(file, start), format);
    QCOMPARE(format_from_name(word), std::optional<BankFormat>(format));
    QVERIFY(!format_from_name(file).has_value());
}

QTEST_GUILESS_MAIN(TestBankFormats)
#include "test_bank_formats.moc"
