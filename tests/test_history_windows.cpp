// Results kept through the windows, with HOME and XDG_CONFIG_HOME pointing at
// an empty temporary folder and XDG_DATA_HOME at the harness's own (see
// TemporaryDataHome): nothing is written while history is off; the
// results window turns it on and off; quizzes are saved and scored on the
// options window; the questions due for review make a quiz of their own.
#include "harness/quiz_harness.h"
#include "history/results_summary.h"
#include "history/question_identity.h"
#include "gui/results_window.h"
#include "gui/review_window.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

namespace {

QString home;

// Every file and folder under folder, hidden ones too.
QStringList files_in(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

// Answers count questions, every wrong_every-th of them wrong.
void answer(QuizHarness &h, quest &window, int count, int wrong_every)
{
    for (int n = 1; n <= count; ++n)
        h.answer(window, n % wrong_every != 0);
    QuizHarness::settle();
}

// A click on the box itself: the check box spans the window's width.
void click(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

ResultsWindow &open_results(QuizHarness &h)
{
    QTest::mouseClick(ctl<QPushButton>(h.agree(), "results_button"), Qt::LeftButton);
    return h.program.windows.get<ResultsWindow>();
}

} // namespace

class HistoryWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void history_off_writes_nothing()
    {
        QuizHarness h;
        h.start_program();
        h.result_choice = ResultChoice::retry_missed;
        quest &window = h.start_quiz(2, true, true, true, false);
        answer(h, window, 51, 3);
        h.result_choice = ResultChoice::review;
        answer(h, window, 17, 2);   // the missed again, then their review
        QCOMPARE(h.result_missed, (QList<int>{17, 8}));
        h.program.windows.get<ReviewWindow>().close();

        h.result_choice = ResultChoice::ok;   // and an exam, submitted at its end
        ctl<QCheckBox>(h.agree(), "exam_mode")->setChecked(true);
        quest &exam = h.start_quiz(4, true, true, true, false);
        answer(h, exam, 51, 5);
        QVERIFY(h.program.session.exam());
        h.program.session.submit();
        QuizHarness::settle();
        QCOMPARE(h.result_missed.size(), 3);
        QCOMPARE(files_in(home) + files_in(h.data_home.folder.path()), QStringList());
    }

    void review_window_keeps_the_quiz_reviewed()
    {
        QuizHarness h;
        h.start_program();
        h.result_choice = ResultChoice::review;
        answer(h, h.start_quiz(1, true, true, false, false), 51, 4);
        auto &review = h.program.windows.get<ReviewWindow>();
        QVERIFY(!ctl<QCheckBox>(review, "keep_results")->isChecked());
        click(ctl<QCheckBox>(review, "keep_results"));
        QVERIFY(ctl<QCheckBox>(review, "keep_results")->isChecked());
        const std::vector<AttemptSummary> kept = h.program.history.attempts(h.program.bank.test_title);
        QCOMPARE(kept.size(), size_t(1));
        QCOMPARE(kept[0].right, 51 - 12);
        click(ctl<QCheckBox>(review, "keep_results"));
        QVERIFY(!h.program.history.is_on());
    }

    void results_window_keeps_and_deletes()
    {
        QuizHarness h;
        h.start_program();
        ResultsWindow &results = open_results(h);
        QVERIFY(!ctl<QCheckBox>(results, "keep_results")->isChecked());
        click(ctl<QCheckBox>(results, "keep_results"));
        QVERIFY(QFileInfo(h.program.history.path()).isFile());
        QVERIFY(h.program.history.path().startsWith(h.data_home.folder.path()));
        QCOMPARE(ctl<QTreeView>(results, "attempts")->model()->rowCount(), 0);

        answer(h, h.start_quiz(3, false, false, false, false), 51, 2);
        QCOMPARE(h.program.history.attempts(h.program.bank.test_title).size(), size_t(1));
        auto &options = h.agree();
        QVERIFY(ctl<QLabel>(options, "last_best_3")->isVisible());
        QVERIFY(ctl<QLabel>(options, "last_best_3")->text().startsWith("last "));
        QVERIFY(!ctl<QLabel>(options, "last_best_1")->isVisible());
        QVERIFY(ctl<QRadioButton>(options, "due_quiz")->isHidden());   // missed today: due tomorrow

        ctl<QCheckBox>(options, "exam_mode")->setChecked(true);
        quest &exam = h.start_quiz(1, true, true, false, false);
        answer(h, exam, 51, 1000);
        h.program.session.submit();
        QuizHarness::settle();
        const std::vector<AttemptSummary> kept = h.program.history.attempts(h.program.bank.test_title);
        QCOMPARE(kept.size(), size_t(2));
        QCOMPARE(kept[0].mode, QuizMode::exam);
        QCOMPARE(kept[0].right, 51);

        ResultsWindow &again = open_results(h);
        QCOMPARE(ctl<QTreeView>(again, "attempts")->model()->rowCount(), 2);
        QVERIFY(ctl<QTreeWidget>(again, "topics")->topLevelItemCount() > 1);
        h.ask_answer = false;
        click(ctl<QCheckBox>(again, "keep_results"));
        QVERIFY(ctl<QCheckBox>(again, "keep_results")->isChecked());   // "No": kept
        h.ask_answer = true;
        click(ctl<QCheckBox>(again, "keep_results"));
        QVERIFY(!ctl<QCheckBox>(again, "keep_results")->isChecked());
        QVERIFY(!h.program.history.is_on());
        QCOMPARE(files_in(h.data_home.folder.path()).filter("history.sqlite"), QStringList());
    }

    void due_questions_make_a_quiz()
    {
        QuizHarness h;
        h.start_program();
        QVERIFY(h.program.history.turn_on());
        AttemptRecord missed;
        missed.bank_title = h.program.bank.test_title;
        missed.ended = QDateTime::currentDateTimeUtc().addDays(-2);
        for (qint16 id : {9, 30, 101})
            missed.answers.push_back({id, question_hash(h.program.bank.at(id)), {}, {}, false, 0});
        QVERIFY(h.program.history.save(missed));

        auto &options = h.agree();
        QCOMPARE(ctl<QRadioButton>(options, "due_quiz")->text(), QString("&Due for review (3)"));
        QVERIFY(ctl<QRadioButton>(options, "due_quiz")->isVisible());
        ctl<QRadioButton>(options, "due_quiz")->setChecked(true);
        QVERIFY(!ctl<QRadioButton>(options, "which_quiz_1")->isChecked());
        QTest::mouseClick(ctl<QPushButton>(options, "Command1"), Qt::LeftButton);
        QuizHarness::settle();
        QCOMPARE(h.program.session.state().quiz_questions, (std::vector<qint16>{0, 9, 30, 101}));
        answer(h, h.program.windows.get<quest>(), 3, 1000);
        // Right a day after they were due: they come back in two days.
        QVERIFY(h.program.history.due_questions(missed.bank_title, QDateTime::currentDateTimeUtc().addDays(1)).empty());
        QCOMPARE(h.program.history.attempts(missed.bank_title).front().quiz, int(AttemptRecord::due_questions));
        QCOMPARE(quiz_name(AttemptRecord::due_questions), QStringLiteral("Due for review"));

        // A quiz quit early is kept as its result box tells it: the questions
        // not reached count as missed.
        quest &window = h.start_quiz(1, false, false, false, false);
        answer(h, window, 1, 1000);
        QTest::mouseClick(ctl<QPushButton>(window, "quitquiz"), Qt::LeftButton);
        const AttemptSummary quit = h.program.history.attempts(missed.bank_title).front();
        QCOMPARE(quit.right, 1);
        QCOMPARE(quit.asked, 51);
        QVERIFY(h.messages.last().text.contains(QStringLiteral(" Right/Total  = 1/51\n")));
        QVERIFY(h.program.history.turn_off());
    }
};

int main(int argc, char *argv[])
{
    QTemporaryDir folder;
    home = folder.path();
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
        qputenv(name, home.toLocal8Bit());
    QApplication app(argc, argv);
    HistoryWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_history_windows.moc"
