// What a screen reader and a keyboard-only student meet in the windows
// around a quiz, checked in-process through Qt's accessibility interfaces:
// the exhibit's text, the diagram's description, the review's detail, the
// Tab order, the welcome window's contrast, and the boxes that keep results
// acting however they are ticked.
#include "harness/quiz_harness.h"

#include "gui/accessible_window.h"
#include "gui/colour_contrast.h"
#include "gui/diagram.h"
#include "gui/exhibit.h"
#include "gui/results_window.h"
#include "gui/review_window.h"
#include "history/attempt_record.h"

#include <QAccessible>
#include <QImage>

namespace {

QAccessibleInterface *accessible(QWidget *widget)
{
    QAccessibleInterface *found = QAccessible::queryAccessibleInterface(widget);
    if (!found)
        qFatal("%s has no accessible interface", qPrintable(widget->objectName()));
    return found;
}

QPalette dark_palette()
{
    QPalette dark;
    for (const auto &[role, colour] : {std::pair{QPalette::Window, "#353535"}, {QPalette::Button, "#353535"},
                                       {QPalette::Base, "#252525"}, {QPalette::WindowText, "#f0f0f0"},
                                       {QPalette::ButtonText, "#f0f0f0"}, {QPalette::Text, "#f0f0f0"}})
        dark.setColor(role, QColor(colour));
    return dark;
}

// The window of that name, opened as a student opens it. The review
// follows a whole quiz with every third answer wrong.
QWidget &open_window(QuizHarness &h, const QString &name)
{
    h.start_program();
    if (name == QLatin1String("welcome"))
        return h.program.windows.get<Welcome>();
    if (name == QLatin1String("options"))
        return h.agree();
    if (name == QLatin1String("results")) {
        QTest::mouseClick(ctl<QPushButton>(h.agree(), "results_button"), Qt::LeftButton);
        return h.program.windows.get<ResultsWindow>();
    }
    if (name == QLatin1String("exhibit")) {
        auto &exhibit = h.program.windows.get<Exhibit>();
        exhibit.show();
        exhibit.show_text(QStringLiteral("one\r\ntwo\r\n"));
        return exhibit;
    }
    quest &window = h.start_quiz(1, false, false, false, false);
    h.result_choice = ResultChoice::review;
    const int total = h.program.session.state().questions_per_quiz;
    for (int n = 1; n <= total; ++n)
        h.answer(window, n % 3 != 0);
    QuizHarness::settle();
    return h.program.windows.get<ReviewWindow>();
}

// Whether the window became the active one, as asked.
bool activated(QWidget &window)
{
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// The controls Tab visits from the one with the focus, until it comes round.
QStringList tab_chain(QWidget &window)
{
    if (!activated(window) || !window.focusWidget())
        return {QStringLiteral("(no focus)")};
    QWidget *first = window.focusWidget();
    QStringList visited;
    for (int n = 0; n < 40; ++n) {
        visited << window.focusWidget()->objectName();
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
        if (window.focusWidget() == first)
            break;
    }
    return visited;
}

// The chain turned to start at `from`, so a test does not depend on where
// the focus starts.
QStringList starting_at(QStringList chain, const QString &from)
{
    const qsizetype at = chain.indexOf(from);
    return at < 0 ? chain : chain.mid(at) + chain.first(at);
}

} // namespace

class WindowAccessTest : public QObject
{
    Q_OBJECT

private slots:
    void exhibit_exposes_its_text_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("boundary");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("start");
        const QString listing = QStringLiteral("VLAN  Name\r\n10    staff\r\n20    guests");
        QTest::newRow("first line") << listing << 3 << int(QAccessible::LineBoundary) << "VLAN  Name\r\n" << 0;
        QTest::newRow("last line, no line end") << listing << 30 << int(QAccessible::LineBoundary) << "20    guests" << 25;
        QTest::newRow("a word") << listing << 20 << int(QAccessible::WordBoundary) << "staff\r\n" << 18;
        QTest::newRow("a character") << listing << 6 << int(QAccessible::CharBoundary) << "N" << 6;
        QTest::newRow("the end") << listing << int(listing.size()) << int(QAccessible::CharBoundary) << "" << int(listing.size());
        QTest::newRow("out of range") << listing << -5 << int(QAccessible::LineBoundary) << "VLAN  Name\r\n" << 0;
        QTest::newRow("empty") << QString() << 0 << int(QAccessible::LineBoundary) << "" << 0;
        // A large exhibit: a line near its end, without copying the text.
        const QString big = QStringLiteral("interface Gi1/0/1 switchport\n").repeated(200000) + QStringLiteral("end\n");
        QTest::newRow("large") << big << int(big.size()) - 2 << int(QAccessible::LineBoundary) << "end\n" << int(big.size()) - 4;
    }
    void exhibit_exposes_its_text()
    {
        QFETCH(QString, text);
        QFETCH(int, offset);
        QFETCH(int, boundary);
        QFETCH(QString, expected);
        QFETCH(int, start);
        QuizHarness h;
        QWidget &exhibit = open_window(h, QStringLiteral("exhibit"));
        static_cast<Exhibit &>(exhibit).show_text(text);
        QAccessibleInterface *view = accessible(ctl<TextLinesView>(exhibit, "Text1"));
        QCOMPARE(view->text(QAccessible::Name), QStringLiteral("Exhibit"));
        QVERIFY(view->state().readOnly && view->state().focusable);
        QAccessibleTextInterface *lines = view->textInterface();
        QVERIFY(lines);
        QCOMPARE(lines->characterCount(), int(text.size()));
        QVERIFY(lines->text(0, lines->characterCount()) == text);
        int from = -1, to = -1;
        QCOMPARE(lines->textAtOffset(offset, QAccessible::TextBoundaryType(boundary), &from, &to), expected);
        QCOMPARE(from, start);
        QCOMPARE(to, start + int(expected.size()));
    }

    // Tab reaches the text; there the arrow keys move the caret a screen
    // reader reads from, down to the last line.
    void exhibit_is_read_line_by_line()
    {
        QuizHarness h;
        auto &exhibit = static_cast<Exhibit &>(open_window(h, QStringLiteral("exhibit")));
        exhibit.show_text(QStringLiteral("line 1\nline 2\nline 3\n"));
        QCOMPARE(starting_at(tab_chain(exhibit), QStringLiteral("Command1")), (QStringList{"Command1", "Text1"}));
        auto *text = ctl<TextLinesView>(exhibit, "Text1");
        text->setFocus();
        QAccessibleTextInterface *lines = accessible(text)->textInterface();
        const QStringList expected{"line 2\n", "line 3\n", "line 3\n", "line 2\n"};
        const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up};
        for (int n = 0; n < 4; ++n) {
            QTest::keyClick(text, keys[n]);
            int from, to;
            QCOMPARE(lines->textAtOffset(lines->cursorPosition(), QAccessible::LineBoundary, &from, &to), expected[n]);
        }
    }

    void diagram_is_described_data()
    {
        QTest::addColumn<QString>("description");
        QTest::newRow("described") << QStringLiteral("Two switches joined by a trunk on port 24.");
        QTest::newRow("not described") << QString();
    }
    void diagram_is_described()
    {
        QFETCH(QString, description);
        QuizHarness h;
        h.start_program();
        auto &diagram = h.program.windows.get<Diagram>();
        diagram.show();
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        diagram.show_picture(QImage(), QStringLiteral("an earlier diagram"));
        diagram.show_picture(image, description);
        QLabel *picture = ctl<QLabel>(diagram, "Image1");
        QAccessibleInterface *shown = accessible(picture);
        QCOMPARE(shown->text(QAccessible::Name), QStringLiteral("Diagram"));
        QCOMPARE(shown->text(QAccessible::Description), description);
        QCOMPARE(picture->toolTip(), description);
    }

    // The student's choice, the right answer and the explanation of the
    // selected question, as the list moves: a read-only text whose whole
    // text a screen reader gets, to read line by line.
    void review_detail_is_read_whole()
    {
        QuizHarness h;
        QWidget &review = open_window(h, QStringLiteral("review"));
        const std::vector<LoggedAnswer> &log = h.program.session.answers().answers();
        auto *list = ctl<QListWidget>(review, "question_list");
        QAccessibleInterface *detail = accessible(ctl<QTextEdit>(review, "detail"));
        QCOMPARE(detail->role(), QAccessible::EditableText);
        QVERIFY(detail->state().readOnly);
        for (int row : {2, 0}) {  // a wrong answer, then a right one
            list->setCurrentRow(row);
            const LoggedAnswer &answer = log[size_t(static_cast<ReviewWindow &>(review).rows()[size_t(row)])];
            QAccessibleTextInterface *text = detail->textInterface();
            QVERIFY(text);
            const QString read = text->text(0, text->characterCount()).simplified();
            QVERIFY2(read.contains(answer.right ? QStringLiteral("your choice") : QStringLiteral("your choice, wrong")), qPrintable(read));
            QVERIFY2(read.contains(QStringLiteral("right answer")), qPrintable(read));
            QVERIFY2(read.contains(answer.shown.explanation.simplified()), qPrintable(read));
        }
        QCOMPARE(detail->text(QAccessible::Name), QStringLiteral("The selected question"));
    }

    // Up and Down move the question list from anywhere; with a screen
    // reader they move the detail's caret, line by line, while it has the
    // focus. Sighted, the detail shows no caret and the list still moves.
    void review_detail_is_read_line_by_line_data()
    {
        QTest::addColumn<bool>("reader");
        QTest::newRow("screen reader") << true;
        QTest::newRow("sighted") << false;
    }
    void review_detail_is_read_line_by_line()
    {
        QFETCH(bool, reader);
        SightedFocusRedirect::screen_reader_running = [reader] { return reader; };
        QuizHarness h;
        QWidget &review = open_window(h, QStringLiteral("review"));
        QVERIFY(activated(review));
        auto *list = ctl<QListWidget>(review, "question_list");
        auto *detail = ctl<QTextEdit>(review, "detail");
        QCOMPARE(bool(detail->textInteractionFlags() & Qt::TextSelectableByKeyboard), reader);
        detail->setFocus(Qt::TabFocusReason);
        const int row = list->currentRow();
        QTest::keyClick(detail, Qt::Key_Down);
        SightedFocusRedirect::screen_reader_running = &QAccessible::isActive;
        QCOMPARE(list->currentRow(), reader ? row : row + 1);
        QCOMPARE(detail->textCursor().blockNumber() > 0 || detail->textCursor().position() > 0, reader);
    }

    // Up and Down, which move the question list from anywhere, go through
    // the score table's rows while it has the focus.
    void review_score_table_is_read_row_by_row()
    {
        QuizHarness h;
        QWidget &review = open_window(h, QStringLiteral("review"));
        QVERIFY(activated(review));
        auto *table = ctl<QTreeWidget>(review, "topic_scores");
        auto *list = ctl<QListWidget>(review, "question_list");
        QVERIFY(table->topLevelItemCount() > 1);
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(table->indexOfTopLevelItem(table->currentItem()), 1);
        QCOMPARE(list->currentRow(), 0);
        QAccessibleInterface *cell = accessible(table)->focusChild();
        QVERIFY(cell);
        // Each cell is read with its column's title, the bar's as its figure.
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("Topic: ") + table->topLevelItem(1)->text(0));
        QCOMPARE(table->topLevelItem(1)->data(3, Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Share right: ") + table->topLevelItem(1)->text(2));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
    }

    void tab_reaches_every_control_in_screen_order_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("results") << "results"
                                 << QStringList{"keep_results", "qt_tabwidget_tabbar", "attempts", "close_button"};
        QTest::newRow("options") << "options"
                                 << QStringList{"which_quiz_1", "answer_when_wrong", "answer_when_right", "random_questions",
                                                "random_answers", "Command1", "exam_mode", "results_button"};
        QTest::newRow("welcome") << "welcome"
                                 << QStringList{"test_name", "author_name2", "bankButton", "Start_Quiz", "Command1"};
        QTest::newRow("review") << "review"
                                << QStringList{"question_list", "show_all", "detail", "topic_scores", "keep_results",
                                               "retry_missed", "close_button"};
    }
    void tab_reaches_every_control_in_screen_order()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, order);
        QuizHarness h;
        QWidget &shown = open_window(h, window);
        const QStringList chain = tab_chain(shown);
        QVERIFY2(chain.size() < 40, qPrintable(chain.join(QLatin1Char(' '))));
        QCOMPARE(starting_at(chain, order.first()), order);
    }

    // Tied to its quiz: a screen reader hears which quiz a score is of.
    void options_scores_name_their_quiz()
    {
        QuizHarness h;
        pick_a_quiz &options = h.agree();
        static_cast<QWidget &>(options).show();
        options.show_history({}, 0);
        // No attempt of quiz 2: nothing to tell.
        QCOMPARE(accessible(ctl<QRadioButton>(options, "which_quiz_2"))->text(QAccessible::Description), QString());
        AttemptSummary attempt;
        attempt.quiz = 2;
        attempt.asked = 4;
        attempt.right = 3;
        options.show_history({attempt}, 0);
        QCOMPARE(accessible(ctl<QLabel>(options, "last_best_2"))->text(QAccessible::Name), QStringLiteral("Quiz #2: last 75%, best 75%"));
        QCOMPARE(accessible(ctl<QRadioButton>(options, "which_quiz_2"))->text(QAccessible::Description), QStringLiteral("last 75%, best 75%"));
    }

    void welcome_texts_contrast_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<bool>("changed_while_open");
        QTest::addColumn<QColor>("background");
        QTest::newRow("light") << QApplication::palette() << false << QColor(Qt::white);
        QTest::newRow("dark") << dark_palette() << false << QColor("#353535");
        QTest::newRow("dark while open") << dark_palette() << true << QColor("#353535");
    }
    void welcome_texts_contrast()
    {
        QFETCH(QPalette, palette);
        QFETCH(bool, changed_while_open);
        QFETCH(QColor, background);
        const QPalette before = QApplication::palette();
        if (!changed_while_open)
            QApplication::setPalette(palette);
        {
            QuizHarness h;
            QWidget &welcome = open_window(h, QStringLiteral("welcome"));
            if (changed_while_open)
                QApplication::setPalette(palette);
            QCOMPARE(welcome.palette().color(QPalette::Window), background);
            int texts = 0;
            for (QWidget *control : welcome.findChildren<QWidget *>()) {
                const bool box = qobject_cast<QLineEdit *>(control);
                const bool button = qobject_cast<QPushButton *>(control);
                const QLabel *label = qobject_cast<QLabel *>(control);
                if (!box && !button && !(label && !label->text().isEmpty()))
                    continue;
                const QPalette &p = control->palette();
                const double ratio = box      ? contrast_ratio(p.color(QPalette::Text), p.color(QPalette::Base))
                                     : button ? contrast_ratio(p.color(QPalette::ButtonText), p.color(QPalette::Button))
                                              : contrast_ratio(p.color(QPalette::WindowText), p.color(QPalette::Window));
                // WCAG: large text is 18 points, or 14 bold.
                const QFont font = control->font();
                const bool large = font.pointSizeF() >= 18 || (font.pointSizeF() >= 14 && font.bold());
                QVERIFY2(ratio >= (large ? 3.0 : 4.5), qPrintable(QStringLiteral("%1: %2").arg(control->objectName()).arg(ratio)));
                ++texts;
            }
            QCOMPARE(texts, 6);
        }
        QApplication::setPalette(before);
    }

    // Ticked by the program, as a screen reader's toggle action does it,
    // without a click: the results are kept and let go all the same.
    void keep_results_acts_on_its_state_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("results") << "results";
        QTest::newRow("review") << "review";
    }
    void keep_results_acts_on_its_state()
    {
        QFETCH(QString, window);
        QuizHarness h;
        QWidget &shown = open_window(h, window);
        auto *box = ctl<QCheckBox>(shown, "keep_results");
        QVERIFY(!h.program.history.is_on());
        box->setChecked(true);
        QVERIFY(h.program.history.is_on());
        box->setChecked(false);
        QVERIFY(!h.program.history.is_on());
        QVERIFY(!box->isChecked());
    }
};

QTEST_MAIN(WindowAccessTest)
#include "test_window_access.moc"
