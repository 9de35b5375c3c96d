// The windows as laid out: sizes and captions, proportional resizing, and
// keyboard use of the question and answer windows.
#include "quiz_harness.h"

#include "choosetest.h"
#include "diagram.h"
#include "exhibit.h"
#include "text_lines_view.h"
#include "ui_diagram.h"

#include <QGroupBox>
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
        QVERIFY(q.ui().the_gauge->isHidden());
        QVERIFY(q.ui().typestuff->isHidden());
        QCOMPARE(q.ui().NextButton->text(), QStringLiteral("&NEXT ->"));
        QCOMPARE(q.ui().NextButton->font().pointSizeF(), 8.25);
        QCOMPARE(q.abox[3]->font().pointSizeF(), 9.75);
        QCOMPARE(q.ui().question_number->font().pointSizeF(), 13.5);
        QCOMPARE(q.ui().Gauge1->palette().color(QPalette::Window), QColor(0, 0, 128));
        QCOMPARE(q.ui().the_gauge->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(q.QChoice[6]->text(), QStringLiteral("F"));
        QVERIFY(q.QChoice[6]->isCheckable());
        QCOMPARE(q.QChoice[1]->accessibleName(), QStringLiteral("Answer A"));
        QVERIFY(q.QChoice[1]->toolTip().contains(QStringLiteral("key A")));
        // The answer boxes are reached by clicking, not by Tab.
        QCOMPARE(q.abox[1]->focusPolicy(), Qt::ClickFocus);
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
        QCOMPARE(window.ui().the_gauge->height(), window.ui().Gauge1->height());
        window.resize(window.size() * 2);
        QCOMPARE(window.ui().the_gauge->height(), window.ui().Gauge1->height());
        QVERIFY(window.ui().the_gauge->isVisible());
    }

    void keyboard_on_a_choice_question()
    {
        QuizHarness h;
        h.start_program();
        h.program.bank.at(5) = four_answers();  // quiz 1 in bank order asks 1, 5, ...
        quest &window = h.start_quiz(1, false, false, false, false);
        h.answer(window, true);
        QCOMPARE(h.program.state.current_record.question, QStringLiteral("Four answers"));

        press(window, Qt::Key_A, QStringLiteral("a"));
        QVERIFY(window.QChoice[1]->isChecked());
        press(window, Qt::Key_A, QStringLiteral("a"));
        QVERIFY(!window.QChoice[1]->isChecked());
        press(window, Qt::Key_B, QStringLiteral("b"));
        press(window, Qt::Key_F, QStringLiteral("f"));  // no answer F here
        QVERIFY(window.QChoice[2]->isChecked());
        QVERIFY(!window.QChoice[6]->isChecked());

        // Enter marks the answer and moves on.
        press(window, Qt::Key_Return);
        QCOMPARE(h.program.state.current_question, qint16(3));
        QCOMPARE(h.program.state.number_right, qint16(2));
        QCOMPARE(window.ui().score->text(), QStringLiteral("2/2"));
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
        QVERIFY(!window.ui().typestuff->isHidden());
        QVERIFY(!window.abox[1]->isHidden());
        QCOMPARE(window.abox[1]->frameShape(), QFrame::StyledPanel);
        QCOMPARE(window.ui().Directions->text(), QStringLiteral(" Please Type in the Correct Answer"));
        for (size_t p = 1; p <= 6; ++p)
            QVERIFY(window.QChoice[p]->isHidden());

        // Letters go to the answer box, even A to F; none toggles a choice.
        for (const QChar c : QStringLiteral("8100"))
            press(window, Qt::Key(c.unicode()), QString(c));
        press(window, Qt::Key_A, QStringLiteral("a"));
        QCOMPARE(window.abox[1]->toPlainText(), QStringLiteral("8100a"));
        press(window, Qt::Key_Escape, QStringLiteral("\x1b"));  // unused by the box: no endless hand-back
        QCOMPARE(window.abox[1]->toPlainText(), QStringLiteral("8100a"));
        QVERIFY(!window.QChoice[1]->isChecked());
        QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QCoreApplication::sendEvent(window.abox[1], &backspace);
        QTest::mouseClick(window.ui().NextButton, Qt::LeftButton);
        QCOMPARE(h.program.state.number_right, qint16(1));
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
        QVERIFY(view.horizontalScrollBar()->maximum() > 500);
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
        auto &answer = h.program.windows.get<theanswer>();
        answer.show();
        QTest::keyClick(&answer, Qt::Key_Escape);
        QVERIFY(answer.isHidden());
    }
};

QTEST_MAIN(ScreensTest)
#include "test_screens.moc"
