// Banks other than the built-in one: opened through the test chooser and
// from the command line, shown by the welcome window, and asked in a quiz
// with a typed question and a diagram; a bank that cannot be used leaves the
// built-in one in place.
#include "harness/quiz_harness.h"
#include "quiz/question_order.h"

#include "bank/formats/bank_choice.h"
#include "gui/choosetest.h"
#include "bank/data_paths.h"
#include "gui/diagram.h"
#include "gui/exhibit.h"

#include <QShortcut>

namespace {

const QString kData = QStringLiteral(QUIZ_TEST_DATA "/open/");

// The welcome window's "Question bank..." button, then "Open a file..." with
// the file dialog answering path.
void choose_file(QuizHarness &h, const QString &path)
{
    QTest::mouseClick(ctl<QPushButton>(h.program.windows.get<Welcome>(), "bankButton"), Qt::LeftButton);
    h.program.modal.open_file = [path](QWidget *, const QString &, const QString &) { return path; };
    QTest::mouseClick(ctl<QPushButton>(h.program.windows.get<choosetest>(), "openFile"), Qt::LeftButton);
    QuizHarness::settle();
}

Welcome &open(QuizHarness &h, const QString &file, bool from_chooser)
{
    if (!from_chooser) {
        h.navigator.open_first_window(kData + file);
        return h.program.windows.get<Welcome>();
    }
    Welcome &welcome = h.start_program();
    choose_file(h, kData + file);
    return welcome;
}

} // namespace

class OpenBankTest : public QObject
{
    Q_OBJECT

private slots:
    void opening_a_bank_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("from_chooser");  // else from the command line
        QTest::addColumn<int>("per_quiz");       // 0: the file cannot be used
        QTest::addColumn<QSize>("diagram");      // the picture's size
        // GIFT names a picture beside the bank; quiz 1 asks questions 1 and 5.
        QTest::newRow("GIFT, chooser") << "switching.gift" << true << 2 << QSize(48, 32);
        QTest::newRow("GIFT, command line") << "switching.gift" << false << 2 << QSize(48, 32);
        // Moodle XML embeds its picture; three questions: each quiz asks all.
        QTest::newRow("Moodle XML, chooser") << "campus.xml" << true << 3 << QSize(40, 40);
        QTest::newRow("Moodle XML, command line") << "campus.xml" << false << 3 << QSize(40, 40);
        QTest::newRow("missing, chooser") << "none.gift" << true << 0 << QSize();
        QTest::newRow("missing, command line") << "none.gift" << false << 0 << QSize();
        QTest::newRow("a picture, chooser") << "two-switches.png" << true << 0 << QSize();
    }

    void opening_a_bank()
    {
        QFETCH(QString, file);
        QFETCH(bool, from_chooser);
        QFETCH(int, per_quiz);
        QFETCH(QSize, diagram);
        QuizHarness h;
        Welcome &welcome = open(h, file, from_chooser);
        if (per_quiz == 0) {
            // The built-in bank stays, and a message says why.
            QCOMPARE(h.messages.size(), 1);
            QVERIFY2(h.messages.first().text.contains(file), qPrintable(h.messages.first().text));
            QVERIFY(!h.program.chosen_bank);
            QCOMPARE(h.program.bank.total_questions, qint16(204));
            QCOMPARE(ctl<QLineEdit>(welcome, "test_name")->text(), h.program.bank.test_title);
            return;
        }
        // Named by the file, as neither format has a title or author.
        QVERIFY(h.messages.isEmpty());
        QCOMPARE(ctl<QLineEdit>(welcome, "test_name")->text(), file);
        QCOMPARE(welcome.windowTitle(), file);
        QCOMPARE(ctl<QLineEdit>(welcome, "author_name2")->text(), QString());
        QCOMPARE(h.program.session.state().questions_per_quiz, qint16(per_quiz));

        quest &window = h.start_quiz(1, false, false, true, false);
        bool typed_seen = false, diagram_seen = false;
        for (int n = 1; n <= per_quiz; ++n) {
            const question_record &record = h.program.session.state().current_record;
            typed_seen |= is_typed_question(record);
            if (ctl<QPushButton>(window, "diagrambutton_", 1)->isVisible()) {
                QTest::mouseClick(ctl<QPushButton>(window, "diagrambutton_", 1), Qt::LeftButton);
                QCOMPARE(ctl<QLabel>(h.program.windows.get<Diagram>(), "Image1")->pixmap().size(), diagram);
                diagram_seen = true;
            }
            h.answer(window, true);
        }
        QVERIFY(typed_seen && diagram_seen);
        QCOMPARE(h.program.session.state().number_right, qint16(per_quiz));
        QuizHarness::settle();
        // After the quiz the welcome window shows the same bank again.
        QCOMPARE(ctl<QLineEdit>(h.program.windows.get<Welcome>(), "test_name")->text(), file);
    }

    // Exhibits are read beside the bank file, wherever the program runs.
    void an_exhibit_beside_the_bank()
    {
        QuizHarness h;
        h.navigator.open_first_window(kData + QStringLiteral("lab.json"));
        Welcome &welcome = h.program.windows.get<Welcome>();
        QCOMPARE(ctl<QLineEdit>(welcome, "test_name")->text(), QStringLiteral("Lab checks"));
        QCOMPARE(ctl<QLineEdit>(welcome, "author_name2")->text(), QStringLiteral("lab@example.org"));
        QVERIFY(QDir::current() != QDir(kData));
        quest &window = h.start_quiz(2, false, false, true, false);
        QTest::mouseClick(ctl<QPushButton>(window, "exhibitbutton_", 1), Qt::LeftButton);
        QVERIFY(ctl<TextLinesView>(h.program.windows.get<Exhibit>(), "Text1")->toPlainText().startsWith(QStringLiteral("VLAN  Name")));
    }

    void a_bank_from_its_records_data()
    {
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("refused");  // a part of the reason, "" = not refused
        QTest::newRow("as many as the quiz can count") << QuestionBank::max_questions << "";
        QTest::newRow("too many") << QuestionBank::max_questions + 1 << "30001 questions";
        QTest::newRow("none") << 0 << "Line 7: essay questions";
    }

    void a_bank_from_its_records()
    {
        QFETCH(int, questions);
        QFETCH(QString, refused);
        ImportedBank imported;
        imported.author = QStringLiteral(" a teacher ");
        imported.questions.resize(size_t(questions));
        imported.problems.push_back({7, true, QStringLiteral("essay questions are not supported")});
        imported.pictures.insert(QStringLiteral("p.png"), QByteArray("png"));
        const OpenedBank opened = bank_from_import(imported, QStringLiteral("/banks/week2.gift"));
        QCOMPARE(opened.bank == nullptr, !refused.isEmpty());
        QVERIFY2(opened.error.contains(refused), qPrintable(opened.error));
        if (!opened.bank)
            return;
        QCOMPARE(opened.bank->test_title, QStringLiteral("week2.gift"));
        QCOMPARE(opened.bank->author_email, QStringLiteral("a teacher"));
        QCOMPARE(int(opened.bank->total_questions), questions);
        QCOMPARE(int(opened.bank->questions.size()), questions + 1);  // sized to what it holds
        QCOMPARE(opened.bank->files.folder, QStringLiteral("/banks"));
        QCOMPARE(opened.bank->files.pictures.size(), 1);
    }

    void the_chooser()
    {
        QuizHarness h;
        Welcome &welcome = h.start_program();
        const QString builtin_title = h.program.bank.test_title;
        // Ctrl+O opens it as the button does.
        welcome.findChild<QShortcut *>()->activated();
        auto &chooser = h.program.windows.get<choosetest>();
        QVERIFY(chooser.isVisible());
        QCOMPARE(ctl<QPushButton>(chooser, "Command1")->text(), builtin_title + QStringLiteral("\nby ") + h.program.bank.author_email);
        QCOMPARE(ctl<QPushButton>(chooser, "Command2")->isHidden(), scenario_bank_file().isEmpty());
        // A cancelled file dialog changes nothing.
        QTest::mouseClick(ctl<QPushButton>(chooser, "openFile"), Qt::LeftButton);
        QVERIFY(chooser.isVisible() && !h.program.chosen_bank);

        choose_file(h, kData + QStringLiteral("campus.xml"));
        QCOMPARE(ctl<QLineEdit>(welcome, "test_name")->text(), QStringLiteral("campus.xml"));
        // Command1 goes back to the built-in bank.
        QTest::mouseClick(ctl<QPushButton>(welcome, "bankButton"), Qt::LeftButton);
        QTest::mouseClick(ctl<QPushButton>(h.program.windows.get<choosetest>(), "Command1"), Qt::LeftButton);
        QuizHarness::settle();
        QVERIFY(!h.program.windows.is_loaded<choosetest>() && !h.program.chosen_bank);
        QCOMPARE(ctl<QLineEdit>(welcome, "test_name")->text(), builtin_title);
        QCOMPARE(h.program.bank.total_questions, qint16(204));
    }
    // The options window shows the figures of the bank in force, after a
    // change of bank too.
    void options_follow_a_change_of_bank()
    {
        QuizHarness h;
        h.start_program();
        QCOMPARE(ctl<QSpinBox>(h.agree(), "exam_minutes")->value(), 51);
        ctl<QWidget>(h.program.windows.get<pick_a_quiz>(), "Command1")->window()->close();
        choose_file(h, kData + QStringLiteral("switching.gift"));
        const int per_quiz = questions_in_quiz(1, h.program.bank.total_questions);
        QVERIFY(per_quiz != 51);
        QCOMPARE(ctl<QSpinBox>(h.agree(), "exam_minutes")->value(), per_quiz);
    }
};

QTEST_MAIN(OpenBankTest)
#include "test_open_bank.moc"
