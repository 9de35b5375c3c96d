// The windows as laid out: sizes and captions, proportional resizing, and
// keyboard use of the question and answer windows.
#include "harness/quiz_harness.h"

#include "gui/accessible_window.h"
#include "gui/choosetest.h"
#include "gui/diagram.h"
#include "gui/exhibit.h"
#include "gui/colour_contrast.h"
#include "gui/text_lines_view.h"

#include <QAccessible>
#include <QGroupBox>
#include <QStyle>
#include <QMap>
#include <QScrollBar>

namespace {

struct Layout {
    QMap<QString, QRect> geometry;
    QMap<QString, qreal> point_size;
};

Layout layout_of(const QWidget &window)
{
    Layout layout;
    for (const QWidget *child : window.findChildren<QWidget *>()) {
        if (child->objectName().isEmpty() || child->objectName().startsWith(QLatin1String("qt_")))
            continue;
        layout.geometry[child->objectName()] = child->geometry();
        layout.point_size[child->objectName()] = child->font().pointSizeF();
    }
    return layout;
}

// Sends a key to whatever has the focus in the window, as the keyboard would.
void press(QWidget &window, Qt::Key key, const QString &text = QString())
{
    QWidget *target = window.focusWidget() ? window.focusWidget() : &window;
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &down);
}

question_record four_answers()
{
    question_record record;
    record.question = QStringLiteral("Four answers");
    record.question_type = QStringLiteral("single_answer");
    for (size_t p = 1; p <= 4; ++p)
        record.answers[p] = QStringLiteral("Answer %1").arg(p);
    record.correct[2] = 1;
    return record;
}

// The colour in the middle of a control's top-left corner, inside a 3 pixel edge.
QColor face_of(QWidget &widget)
{
    const QImage image = widget.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(QPoint(int(5 * ratio), int(5 * ratio)));
}

QPalette dark_palette()
{
    QPalette dark;
    for (const auto &[role, colour] : {std::pair{QPalette::Window, "#353535"}, {QPalette::Button, "#353535"},
                                       {QPalette::Base, "#252525"}, {QPalette::Highlight, "#2a82da"},
                                       {QPalette::WindowText, "#f0f0f0"}, {QPalette::ButtonText, "#f0f0f0"},
                                       {QPalette::Text, "#f0f0f0"}, {QPalette::HighlightedText, "#ffffff"}})
        dark.setColor(role, QColor(colour));
    return dark;
}

} // namespace

class ScreensTest : public QObject
{
    Q_OBJECT

private slots:
    void windows_as_designed()
    {
        QuizHarness h;
        h.start_program();
        auto &windows = h.program.windows;
        const struct {
            QWidget *window;
            QSize size;
            QString caption;
        } expected[] = {
            {&windows.get<Welcome>(), {613, 403}, h.program.bank.test_title},
            {&windows.get<pick_a_quiz>(), {494, 197}, QStringLiteral("Start the QUIZ")},
            {&windows.get<quest>(), {629, 423}, QStringLiteral("Orvik Tests - www.example.org")},
            {&windows.get<Diagram>(), {582, 373}, QStringLiteral("Diagram")},
            {&windows.get<Exhibit>(), {585, 318}, QStringLiteral("Exhibit")},
            {&windows.get<theanswer>(), {580, 392}, QStringLiteral("The Answer")},
            {&windows.get<choosetest>(), {312, 213}, QStringLiteral("Select Testing Database")},
        };
        for (const auto &w : expected) {
            QCOMPARE(w.window->size(), w.size);
            QCOMPARE(w.window->windowTitle(), w.caption);
        }
        // The welcome window has a fixed size; the others can be resized.
        QCOMPARE(windows.get<Welcome>().minimumSize(), windows.get<Welcome>().maximumSize());
        QVERIFY(windows.get<quest>().maximumWidth() > 629);

        quest &q = windows.get<quest>();
        QVERIFY(ctl<QFrame>(q, "the_gauge")->isHidden());
        QVERIFY(ctl<QLabel>(q, "typestuff")->isHidden());
        QCOMPARE(ctl<QPushButton>(q, "NextButton")->text(), QStringLiteral("&NEXT ->"));
        QCOMPARE(ctl<QPushButton>(q, "NextButton")->font().pointSizeF(), 8.25);
        QCOMPARE(ctl<QPlainTextEdit>(q, "abox_", 3)->font().pointSizeF(), 9.75);
        QCOMPARE(ctl<QLabel>(q, "question_number")->font().pointSizeF(), 13.5);
        QCOMPARE(ctl<QFrame>(q, "Gauge1")->palette().color(QPalette::Window), QColor(0, 0, 128));
        QCOMPARE(ctl<QFrame>(q, "the_gauge")->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(ctl<QPushButton>(q, "QChoice_", 6)->text(), QStringLiteral("F"));
        QVERIFY(ctl<QPushButton>(q, "QChoice_", 6)->isCheckable());
        QCOMPARE(ctl<QPushButton>(q, "QChoice_", 1)->accessibleName(), QStringLiteral("Answer A"));
        QVERIFY(ctl<QPushButton>(q, "QChoice_", 1)->toolTip().contains(QStringLiteral("key A")));
        // The answer boxes are reached by clicking, not by Tab.
        QCOMPARE(ctl<QPlainTextEdit>(q, "abox_", 1)->focusPolicy(), Qt::ClickFocus);
    }

    void resizing_keeps_proportions()
    {
        QuizHarness h;
        h.start_program();
        QWidget *resizable[] = {&h.program.windows.get<quest>(), &h.program.windows.get<pick_a_quiz>(),
                                &h.program.windows.get<Diagram>()};
        for (QWidget *window : resizable) {
            window->show();
            const QSize design = window->size();
            const Layout before = layout_of(*window);
            window->resize(design * 2);
            const Layout doubled = layout_of(*window);
            for (auto it = before.geometry.cbegin(); it != before.geometry.cend(); ++it) {
                const QRect grown = doubled.geometry[it.key()];
                QVERIFY2(qAbs(grown.width() - 2 * it.value().width()) <= 1 && qAbs(grown.x() - 2 * it.value().x()) <= 1,
                         qPrintable(it.key()));
                QCOMPARE(doubled.point_size[it.key()], 2 * before.point_size[it.key()]);
            }
            window->resize(design.width() / 2, design.height());  // narrower only: fonts follow the smaller scale
            QCOMPARE(layout_of(*window).point_size.first(),
                     before.point_size.first() * (design.width() / 2) / design.width());
            window->resize(design);
            const Layout after = layout_of(*window);
            QCOMPARE(after.geometry, before.geometry);
            QCOMPARE(after.point_size, before.point_size);
        }
    }

    void gauge_follows_a_resize()
    {
        QuizHarness h;
        h.start_program();
        quest &window = h.start_quiz(1, false, false, false, false);
        h.answer(window, false);  // 0 of 1 right: the red cover fills the gauge
        QCOMPARE(ctl<QFrame>(window, "the_gauge")->height(), ctl<QFrame>(window, "Gauge1")->height());
        window.resize(window.size() * 2);
        QCOMPARE(ctl<QFrame>(window, "the_gauge")->height(), ctl<QFrame>(window, "Gauge1")->height());
        QVERIFY(ctl<QFrame>(window, "the_gauge")->isVisible());
    }

    void keyboard_on_a_choice_question()
    {
        QuizHarness h;
        h.start_program();
        h.program.bank.at(5) = four_answers();  // quiz 1 in bank order asks 1, 5, ...
        quest &window = h.start_quiz(1, false, false, false, false);
        h.answer(window, true);
        QCOMPARE(h.program.session.state().current_record.question, QStringLiteral("Four answers"));

        press(window, Qt::Key_A, QStringLiteral("a"));
        QVERIFY(ctl<QPushButton>(window, "QChoice_", 1)->isChecked());
        press(window, Qt::Key_A, QStringLiteral("a"));
        QVERIFY(!ctl<QPushButton>(window, "QChoice_", 1)->isChecked());
        press(window, Qt::Key_B, QStringLiteral("b"));
        press(window, Qt::Key_F, QStringLiteral("f"));  // no answer F here
        QVERIFY(ctl<QPushButton>(window, "QChoice_", 2)->isChecked());
        QVERIFY(!ctl<QPushButton>(window, "QChoice_", 6)->isChecked());

        // Enter marks the answer and moves on.
        press(window, Qt::Key_Return);
        QCOMPARE(h.program.session.state().current_question, qint16(3));
        QCOMPARE(h.program.session.state().number_right, qint16(2));
        QCOMPARE(ctl<QLabel>(window, "score")->text(), QStringLiteral("2/2"));
    }

    void keyboard_on_a_typed_question()
    {
        QuizHarness h;
        h.start_program();
        question_record typed;
        typed.question = QStringLiteral("Type the EtherType of an 802.1Q tag.");
        typed.question_type = QStringLiteral("fill_in");
        typed.answers[1] = QStringLiteral("0x8100");
        typed.answers[2] = QStringLiteral("8100");
        h.program.bank.at(1) = typed;
        quest &window = h.start_quiz(1, false, false, true, false);
        QVERIFY(!ctl<QLabel>(window, "typestuff")->isHidden());
        QVERIFY(!ctl<QPlainTextEdit>(window, "abox_", 1)->isHidden());
        QCOMPARE(ctl<QPlainTextEdit>(window, "abox_", 1)->frameShape(), QFrame::StyledPanel);
        QCOMPARE(ctl<QLabel>(window, "Directions")->text(), QStringLiteral(" Please Type in the Correct Answer"));
        for (size_t p = 1; p <= 6; ++p)
            QVERIFY(ctl<QPushButton>(window, "QChoice_", p)->isHidden());

        // Letters go to the answer box, even A to F; none toggles a choice.
        for (const QChar c : QStringLiteral("8100"))
            press(window, Qt::Key(c.unicode()), QString(c));
        press(window, Qt::Key_A, QStringLiteral("a"));
        QCOMPARE(ctl<QPlainTextEdit>(window, "abox_", 1)->toPlainText(), QStringLiteral("8100a"));
        press(window, Qt::Key_Escape, QStringLiteral("\x1b"));  // unused by the box: no endless hand-back
        QCOMPARE(ctl<QPlainTextEdit>(window, "abox_", 1)->toPlainText(), QStringLiteral("8100a"));
        QVERIFY(!ctl<QPushButton>(window, "QChoice_", 1)->isChecked());
        QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QCoreApplication::sendEvent(ctl<QPlainTextEdit>(window, "abox_", 1), &backspace);
        QTest::mouseClick(ctl<QPushButton>(window, "NextButton"), Qt::LeftButton);
        QCOMPARE(h.program.session.state().number_right, qint16(1));
        QVERIFY(h.answers.isEmpty());  // shown only when wrong
    }

    void exhibit_view_lines()
    {
        TextLinesView view;
        view.setPlainText(QStringLiteral("a\tb\r\n\r\nno line end"));
        QCOMPARE(view.lineCount(), 3);
        QCOMPARE(view.displayed_line(0), QStringLiteral("a       b"));
        QCOMPARE(view.displayed_line(1), QString());
        QCOMPARE(view.displayed_line(2), QStringLiteral("no line end"));
        view.setPlainText(QStringLiteral("one\r\n"));
        QCOMPARE(view.lineCount(), 1);
        view.setPlainText(QString());
        QCOMPARE(view.lineCount(), 0);

        // The scroll bars cover every line and the widest one.
        view.resize(200, 100);
        view.setPlainText(QStringLiteral("line\r\n").repeated(1000) + QString(500, QLatin1Char('x')));
        QCOMPARE(view.lineCount(), 1001);
        QVERIFY(view.verticalScrollBar()->maximum() > 950 && view.verticalScrollBar()->maximum() < 1001);
        QCOMPARE(view.horizontalScrollBar()->maximum() + view.horizontalScrollBar()->pageStep(), 500);  // columns
    }

    void long_lines_are_painted_in_slices_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("slice");
        const QString digits = QStringLiteral("0123456789").repeated(100000);
        QTest::newRow("start of a long line") << digits << 0 << 5 << "01234";
        QTest::newRow("far into a long line") << digits << 500003 << 5 << "34567";
        QTest::newRow("to its very end") << digits << 999998 << 10 << "89";
        QTest::newRow("past its end") << digits << 2000000 << 10 << "";
        QTest::newRow("a tab across the first column") << "ab\tcd" << 4 << 6 << "    cd";
        QTest::newRow("after thousands of tabs") << QString(3000, QLatin1Char('\t')) + "end" << 24001 << 5 << "nd";
        QTest::newRow("a stray CR takes no column") << QString(5000, QLatin1Char('\r')) + "xyz" << 1 << 2 << "yz";
        QTest::newRow("a surrogate pair is one column")
            << QString(3000, QLatin1Char('-')) + QString::fromUtf8("\xf0\x9f\x98\x80") + "z" << 3000 << 2
            << QString::fromUtf8("\xf0\x9f\x98\x80") + "z";
    }

    void long_lines_are_painted_in_slices()
    {
        QFETCH(QString, text);
        QFETCH(int, first);
        QFETCH(int, columns);
        QFETCH(QString, slice);
        TextLinesView view;
        view.setPlainText(QStringLiteral("before\r\n") + text + QStringLiteral("\r\nafter\r\n"));
        QCOMPARE(view.displayed_line(1, first, columns), slice);
        QCOMPARE(view.displayed_line(2, first > 0 ? 1 : 0, columns), QStringLiteral("after").mid(first > 0 ? 1 : 0, columns));
    }

    void exhibit_scrolls_from_the_keyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("from_the_end");
        QTest::addColumn<QString>("where");  // vertical, horizontal: 0, 1, page, -1 (one before the end), end
        QTest::newRow("Down") << int(Qt::Key_Down) << 0 << false << "1 0";
        QTest::newRow("Right") << int(Qt::Key_Right) << 0 << false << "0 1";
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 0 << false << "page 0";
        QTest::newRow("End") << int(Qt::Key_End) << 0 << false << "0 end";
        QTest::newRow("Ctrl+End") << int(Qt::Key_End) << int(Qt::ControlModifier) << false << "end 0";
        QTest::newRow("Up") << int(Qt::Key_Up) << 0 << true << "-1 end";
        QTest::newRow("Left") << int(Qt::Key_Left) << 0 << true << "end -1";
        QTest::newRow("Home") << int(Qt::Key_Home) << 0 << true << "end 0";
        QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << int(Qt::ControlModifier) << true << "0 end";
    }

    void exhibit_scrolls_from_the_keyboard()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, from_the_end);
        QFETCH(QString, where);
        QuizHarness h;
        h.start_program();
        Exhibit &exhibit = h.program.windows.get<Exhibit>();
        exhibit.show();
        exhibit.show_text((QString(3000, QLatin1Char('x')) + QStringLiteral("\r\n")).repeated(500));
        QScrollBar *bars[] = {ctl<TextLinesView>(exhibit, "Text1")->verticalScrollBar(), ctl<TextLinesView>(exhibit, "Text1")->horizontalScrollBar()};
        for (QScrollBar *bar : bars)
            bar->setValue(from_the_end ? bar->maximum() : 0);
        // The focus stays on the close button; the keys scroll the text.
        QTest::keyClick(ctl<QPushButton>(exhibit, "Command1"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        const QStringList expected = where.split(QLatin1Char(' '));
        for (int i = 0; i < 2; ++i) {
            const QMap<QString, int> positions{{"0", 0}, {"1", 1}, {"page", bars[i]->pageStep()},
                                               {"-1", bars[i]->maximum() - 1}, {"end", bars[i]->maximum()}};
            QCOMPARE(bars[i]->value(), positions.value(expected[i]));
        }
        QVERIFY(exhibit.isVisible());
    }

    void escape_closes_the_small_windows()
    {
        QuizHarness h;
        h.start_program();
        auto &exhibit = h.program.windows.get<Exhibit>();
        exhibit.show();
        QTest::keyClick(&exhibit, Qt::Key_Escape);
        QVERIFY(exhibit.isHidden());
        auto &diagram = h.program.windows.get<Diagram>();
        diagram.show();
        QTest::keyClick(&diagram, Qt::Key_Escape);
        QVERIFY(diagram.isHidden());
        // Enter on their close buttons too.
        for (QWidget *window : {static_cast<QWidget *>(&exhibit), static_cast<QWidget *>(&diagram)}) {
            window->show();
            QTest::keyClick(window->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::Key_Return);
            QVERIFY(window->isHidden());
        }
        auto &answer = h.program.windows.get<theanswer>();
        answer.show();
        // Tab, which acts on nothing, moves the focus at once (to the text,
        // where a screen reader keeps it).
        SightedFocusRedirect::screen_reader_running = [] { return true; };
        ctl<QPushButton>(answer, "Closeb")->setFocus();
        QTest::keyClick(ctl<QPushButton>(answer, "Closeb"), Qt::Key_Tab);
        SightedFocusRedirect::screen_reader_running = &QAccessible::isActive;
        QCOMPARE(answer.focusWidget(), ctl<QPlainTextEdit>(answer, "Text1"));
        // For its first 0.3 s the answer window takes no other key and no
        // click: the second click of a double-click on NEXT must not close it.
        QTest::mouseClick(ctl<QPushButton>(answer, "Closeb"), Qt::LeftButton);
        QTest::keyClick(ctl<QPushButton>(answer, "Closeb"), Qt::Key_Space);
        QTest::keyClick(&answer, Qt::Key_Escape);
        QVERIFY(answer.isVisible());
        QTest::qWait(350);
        QTest::keyClick(&answer, Qt::Key_Escape);
        QVERIFY(answer.isHidden());
        answer.show();
        QTest::qWait(350);
        QTest::mouseClick(ctl<QPushButton>(answer, "Closeb"), Qt::LeftButton);
        QVERIFY(answer.isHidden());
    }

    void enter_follows_the_focus_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("outcome");  // next, quit, clue, nothing, line break
        QTest::newRow("Enter on NEXT") << false << "NextButton" << int(Qt::Key_Return) << 0 << "next";
        QTest::newRow("Enter on Quit Test") << false << "quitquiz" << int(Qt::Key_Return) << 0 << "quit";
        QTest::newRow("Space on Quit Test") << false << "quitquiz" << int(Qt::Key_Space) << 0 << "quit";
        QTest::newRow("Enter on CLUE") << false << "cluebutton" << int(Qt::Key_Return) << 0 << "clue";
        QTest::newRow("Enter on an exhibit button") << false << "exhibitbutton_1" << int(Qt::Key_Return) << 0 << "nothing";
        QTest::newRow("Enter on a letter") << false << "QChoice_2" << int(Qt::Key_Return) << 0 << "next";
        QTest::newRow("keypad Enter on a letter") << false << "QChoice_2" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "next";
        QTest::newRow("Enter on the question") << false << "Q1" << int(Qt::Key_Return) << 0 << "next";
        QTest::newRow("Enter on Quit Test, typed") << true << "quitquiz" << int(Qt::Key_Return) << 0 << "quit";
        QTest::newRow("Enter in the typed answer") << true << "abox_1" << int(Qt::Key_Return) << 0 << "next";
        QTest::newRow("Shift+Enter in the typed answer") << true << "abox_1" << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "line break";
    }

    void enter_follows_the_focus()
    {
        QFETCH(bool, typed);
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, outcome);
        QuizHarness h;
        h.start_program();
        question_record record = four_answers();
        if (typed)
            record.question_type = QStringLiteral("FILL_IN");
        record.clue = QStringLiteral("A clue.");
        record.exhibits[1] = QStringLiteral("no-such-exhibit.txt");
        h.program.bank.at(1) = record;
        quest &window = h.start_quiz(1, false, false, false, false);
        window.findChild<QWidget *>(focus)->setFocus();
        QTest::keyClick(window.focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        const QString title = h.messages.isEmpty() ? QString() : h.messages.last().title;
        const QuizState &state = h.program.session.state();
        QCOMPARE(state.current_question, outcome == "next" ? 2 : outcome == "quit" ? state.questions_per_quiz : 1);
        QCOMPARE(title, outcome == "quit" ? QStringLiteral("Test Complete!") : outcome == "clue" ? QStringLiteral("Clue") : QString());
        QCOMPARE(ctl<QPlainTextEdit>(window, "abox_", 1)->toPlainText() == QStringLiteral("\n"), outcome == "line break");
    }

    void every_bank_answer_reads_whole()
    {
        QuizHarness h;
        h.start_program();
        const QuestionBank bank = h.program.bank;
        quest &window = h.start_quiz(1, false, false, false, false);
        for (int id = 1; id <= bank.total_questions; ++id) {
            h.show_only(bank.at(id));
            QCoreApplication::processEvents();
            for (size_t p = 1; p <= 6; ++p) {
                QPlainTextEdit *box = ctl<QPlainTextEdit>(window, "abox_", p);
                if (box->isHidden())
                    continue;
                QTextCursor end(box->document());
                end.movePosition(QTextCursor::End);
                const QRect first = box->cursorRect(QTextCursor(box->document()));
                const QRect last = box->cursorRect(end);
                QVERIFY2(first.top() >= 0 && last.bottom() < box->viewport()->height()
                             && !box->verticalScrollBar()->isVisible() && !box->horizontalScrollBar()->isVisible(),
                         qPrintable(QStringLiteral("question %1, answer %2: lines %3 to %4 of %5 pixels")
                                        .arg(id).arg(p).arg(first.top()).arg(last.bottom()).arg(box->viewport()->height())));
            }
        }
    }

    void pressed_letter_stands_out_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QApplication::style()->standardPalette();
        QTest::newRow("dark") << dark_palette();
    }

    void pressed_letter_stands_out()
    {
        QFETCH(QPalette, palette);
        const QPalette before = QApplication::palette();
        QApplication::setPalette(palette);
        {
            QuizHarness h;
            h.start_program();
            h.program.bank.at(1) = four_answers();
            quest &window = h.start_quiz(1, false, false, false, false);
            QPushButton *letter = ctl<QPushButton>(window, "QChoice_", 2);
            const QColor released = face_of(*letter);
            // A click on the answer's text toggles its letter.
            QTest::mouseClick(ctl<QPlainTextEdit>(window, "abox_", 2)->viewport(), Qt::LeftButton);
            QVERIFY(letter->isChecked());
            const QColor pressed = face_of(*letter);
            QVERIFY2(contrast_ratio(released, pressed) >= 3,
                     qPrintable(released.name() + QLatin1String(" against ") + pressed.name()));
            QTest::mouseClick(ctl<QPlainTextEdit>(window, "abox_", 2)->viewport(), Qt::LeftButton);
            QVERIFY(!letter->isChecked());
            h.answer(window, true);
        }
        QApplication::setPalette(before);
    }

    void typed_answer_text_takes_clicks()
    {
        QuizHarness h;
        h.start_program();
        question_record typed = four_answers();
        typed.question_type = QStringLiteral("FILL_IN");
        h.program.bank.at(1) = typed;
        quest &window = h.start_quiz(1, false, false, false, false);
        QTest::mouseClick(ctl<QPlainTextEdit>(window, "abox_", 1)->viewport(), Qt::LeftButton);
        QTest::keyClicks(ctl<QPlainTextEdit>(window, "abox_", 1), QStringLiteral("trunk"));
        QCOMPARE(ctl<QPlainTextEdit>(window, "abox_", 1)->toPlainText(), QStringLiteral("trunk"));
        QVERIFY(!ctl<QPushButton>(window, "QChoice_", 1)->isChecked());
    }

    void separator_lines_show()
    {
        QuizHarness h;
        h.start_program();
        quest &window = h.start_quiz(1, false, false, false, false);
        const QColor background = window.palette().color(QPalette::Window);
        for (QFrame *line : {ctl<QFrame>(window, "Line1"), ctl<QFrame>(window, "Line2"), ctl<QFrame>(window, "Line3")}) {
            // Somewhere across its middle (at 200% a line may be drawn in
            // one of the two device pixels of its width).
            const QImage image = line->grab().toImage();
            double best = 1;
            for (int x = 0; x < image.width(); ++x)
                for (int y = 0; y < image.height(); ++y)
                    if (x == image.width() / 2 || y == image.height() / 2)
                        best = std::max(best, contrast_ratio(image.pixelColor(x, y), background));
            QVERIFY2(best >= 3, qPrintable(line->objectName()));
        }
    }
};

QTEST_MAIN(ScreensTest)
#include "test_screens.moc"
