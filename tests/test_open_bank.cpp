// Banks other than the built-in one: opened through the test chooser and
// from the command line, shown by the welcome window, and asked in a quiz
// with a typed question and a diagram.
#include "quiz_harness.h"

#include "bank_choice.h"
#include "choosetest.h"
#include "data_paths.h"
#include "diagram.h"
#include "exhibit.h"
#include "first_window.h"
#include "ui_choosetest.h"
#include "ui_diagram.h"
#include "ui_exhibit.h"

#include <QShortcut>

namespace {

const QString kData = QStringLiteral(QUIZ_TEST_DATA "/open/");

} // namespace

class OpenBankTest : public QObject
{
    Q_OBJECT

private slots:
    void a_bank_is_asked_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("from_chooser");  // else from the command line
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("per_quiz");
        QTest::addColumn<QSize>("diagram");  // the picture's size
        // GIFT names a picture beside the bank; quiz 1 asks questions 1 and 5.
        QTest::newRow("GIFT, chooser") << "switching.gift" << true << "switching.gift" << 2 << QSize(48, 32);
        QTest::newRow("GIFT, command line") << "switching.gift" << false << "switching.gift" << 2 << QSize(48, 32);
        // Moodle XML embeds its picture; three questions: each quiz asks all.
        QTest::newRow("Moodle XML, chooser") << "campus.xml" << true << "campus.xml" << 3 << QSize(40, 40);
        QTest::newRow("Moodle XML, command line") << "campus.xml" << false << "campus.xml" << 3 << QSize(40, 40);
    }

    void a_bank_is_asked()
    {
        QFETCH(QString, file);
        QFETCH(bool, from_chooser);
        QFETCH(QString, title);
        QFETCH(int, per_quiz);
        QFETCH(QSize, diagram);
        QuizHarness h;
        Welcome *welcome = nullptr;
        if (from_chooser) {
            welcome = &h.start_program();
            choose_file(h, kData + file);
        } else {
            welcome = &open_first_window(h.program, kData + file);
        }
        QVERIFY(h.messages.isEmpty());
        QCOMPARE(welcome->ui().test_name->text(), title);
        QCOMPARE(welcome->windowTitle(), title);
        QCOMPARE(welcome->ui().author_name2->text(), QString());
        QCOMPARE(h.program.state.questions_per_quiz, qint16(per_quiz));

        quest &window = h.start_quiz(1, false, false, true, false);
        bool typed_seen = false, diagram_seen = false;
        for (int n = 1; n <= per_quiz; ++n) {
            const question_record &record = h.program.state.current_record;
            typed_seen |= is_typed_question(record);
            if (!record.diagrams[1].isEmpty()) {
                QVERIFY(window.diagrambutton[1]->isVisible());
                QTest::mouseClick(window.diagrambutton[1], Qt::LeftButton);
                auto &shown = h.program.windows.get<Diagram>();
                QVERIFY(shown.isVisible());
                QCOMPARE(shown.ui().Image1->pixmap().size(), diagram);
                diagram_seen = true;
            }
            h.answer(window, true);
        }
        QVERIFY(typed_seen);
        QVERIFY(diagram_seen);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY2(h.messages.first().text.contains(QStringLiteral("%1/%1").arg(per_quiz))
                     || h.messages.first().text.contains(QStringLiteral("100")),
                 qPrintable(h.messages.first().text));
        QuizHarness::settle();
        // After the quiz the welcome window shows the same bank again.
        Welcome &again = h.program.windows.get<Welcome>();
        QCOMPARE(again.ui().test_name->text(), title);
        QCOMPARE(h.program.bank.total_questions, h.program.chosen_bank->total_questions);
    }

    // Exhibits are read beside the bank file, wherever the program runs.
    void an_exhibit_beside_the_bank()
    {
        QuizHarness h;
        Welcome &welcome = open_first_window(h.program, kData + QStringLiteral("lab.json"));
        QCOMPARE(welcome.ui().test_name->text(), QStringLiteral("Lab checks"));
        QCOMPARE(welcome.ui().author_name2->text(), QStringLiteral("lab@example.org"));
        QVERIFY(QDir::current() != QDir(kData));
        quest &window = h.start_quiz(2, false, false, true, false);
        QTest::mouseClick(window.exhibitbutton[1], Qt::LeftButton);
        auto &exhibit = h.program.windows.get<Exhibit>();
        QVERIFY(exhibit.isVisible());
        QVERIFY(exhibit.ui().Text1->toPlainText().startsWith(QStringLiteral("VLAN  Name       Ports")));
    }

    void a_bank_that_cannot_be_used_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("from_chooser");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing, chooser") << "none.gift" << true << "none.gift";
        QTest::newRow("missing, command line") << "none.gift" << false << "none.gift";
        QTest::newRow("a picture, chooser") << "two-switches.png" << true << "two-switches.png";
    }

    // The built-in bank stays, and a message says why.
    void a_bank_that_cannot_be_used()
    {
        QFETCH(QString, file);
        QFETCH(bool, from_chooser);
        QFETCH(QString, says);
        QuizHarness h;
        Welcome *welcome = nullptr;
        if (from_chooser) {
            welcome = &h.start_program();
            choose_file(h, kData + file);
            QVERIFY(h.program.windows.is_loaded<choosetest>());
        } else {
            welcome = &open_first_window(h.program, kData + file);
        }
        QCOMPARE(h.messages.size(), 1);
        QVERIFY2(h.messages.first().text.contains(says), qPrintable(h.messages.first().text));
        QVERIFY(!h.program.chosen_bank);
        QCOMPARE(h.program.bank.total_questions, qint16(204));
        QCOMPARE(welcome->ui().test_name->text(), h.program.bank.test_title);
    }

    void a_bank_from_its_records_data()
    {
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("title");    // in the file, "" = none
        QTest::addColumn<QString>("shown");    // the bank's title, or "" when it is refused
        QTest::addColumn<QString>("message");  // a part of the reason it is refused
        QTest::newRow("titled") << 5 << "VLAN drill" << "VLAN drill" << "";
        QTest::newRow("named by its file") << 1 << "" << "week2.gift" << "";
        QTest::newRow("as many as the quiz can count") << QuestionBank::max_questions << "" << "week2.gift" << "";
        QTest::newRow("too many") << QuestionBank::max_questions + 1 << "" << "" << "30001 questions";
        QTest::newRow("none") << 0 << "" << "" << "Line 7: essay questions";
    }

    void a_bank_from_its_records()
    {
        QFETCH(int, questions);
        QFETCH(QString, title);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        ImportedBank imported;
        imported.title = title;
        imported.author = QStringLiteral(" a teacher ");
        imported.questions.resize(size_t(questions));
        imported.question_lines.resize(size_t(questions));
        if (questions > 0)
            imported.questions.back().question = QStringLiteral("the last");
        imported.problems.push_back({7, true, QStringLiteral("essay questions are not supported")});
        imported.pictures.insert(QStringLiteral("p.png"), QByteArray("png"));
        const OpenedBank opened = bank_from_import(imported, QStringLiteral("/banks/week2.gift"));
        QCOMPARE(opened.bank == nullptr, shown.isEmpty());
        QVERIFY2(opened.error.contains(message), qPrintable(opened.error));
        if (!opened.bank)
            return;
        const QuestionBank &bank = *opened.bank;
        QCOMPARE(bank.test_title, shown);
        QCOMPARE(bank.author_email, QStringLiteral("a teacher"));
        QCOMPARE(int(bank.total_questions), questions);
        QCOMPARE(int(bank.questions.size()), questions + 1);  // sized to what it holds
        QCOMPARE(bank.at(questions).question, QStringLiteral("the last"));
        QCOMPARE(bank.files.folder, QStringLiteral("/banks"));
        QCOMPARE(bank.files.pictures.value(QStringLiteral("p.png")), QByteArray("png"));
    }

    void the_chooser()
    {
        QuizHarness h;
        Welcome &welcome = h.start_program();
        const QString builtin_title = h.program.bank.test_title;
        // Ctrl+O opens it as the button does, over the welcome window.
        welcome.findChild<QShortcut *>()->activated();
        QVERIFY(h.program.windows.is_loaded<choosetest>());
        auto &chooser = h.program.windows.get<choosetest>();
        QVERIFY(chooser.isVisible());
        QCOMPARE(chooser.windowTitle(), QStringLiteral("Select Testing Database"));
        QCOMPARE(chooser.ui().Command1->text(), builtin_title + QStringLiteral("\nby ") + h.program.bank.author_email);
        QCOMPARE(chooser.ui().Command2->isHidden(), scenario_bank_file().isEmpty());
        // A cancelled file dialog changes nothing.
        QTest::mouseClick(chooser.ui().openFile, Qt::LeftButton);
        QVERIFY(chooser.isVisible());
        QVERIFY(!h.program.chosen_bank);

        choose_file(h, kData + QStringLiteral("campus.xml"));
        QCOMPARE(welcome.ui().test_name->text(), QStringLiteral("campus.xml"));
        // Command1 goes back to the built-in bank.
        QTest::mouseClick(welcome.ui().bankButton, Qt::LeftButton);
        QTest::mouseClick(h.program.windows.get<choosetest>().ui().Command1, Qt::LeftButton);
        QuizHarness::settle();
        QVERIFY(!h.program.windows.is_loaded<choosetest>());
        QVERIFY(!h.program.chosen_bank);
        QCOMPARE(welcome.ui().test_name->text(), builtin_title);
        QCOMPARE(h.program.bank.total_questions, qint16(204));
        QVERIFY(welcome.isVisible());
    }

private:
    // The welcome window's "Question bank..." button, then "Open a file..."
    // with the file dialog answering path.
    static void choose_file(QuizHarness &h, const QString &path)
    {
        QTest::mouseClick(h.program.windows.get<Welcome>().ui().bankButton, Qt::LeftButton);
        h.program.modal.open_file = [path](QWidget *, const QString &, const QString &) { return path; };
        QTest::mouseClick(h.program.windows.get<choosetest>().ui().openFile, Qt::LeftButton);
        QuizHarness::settle();
    }
};

QTEST_MAIN(OpenBankTest)
#include "test_open_bank.moc"
