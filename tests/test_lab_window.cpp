// The lab window as a student uses it: lab 8 of the bank (two passive LACP
// ends) solved by typing into the consoles, with the keys a console offers.
// With LAB_WINDOW_SHOTS=DIR set it also saves the window in a light and a
// dark palette to DIR, for a person to look at.
#include "gui/device_console.h"
#include "gui/lab_window.h"
#include "gui/topology_view.h"
#include "lab/lab.h"

#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class TestLabWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void solution_typed_meets_goals();
    void history_recall();
    void tab_completes();
    void question_mark_helps_without_running();
    void wrong_command_points_at_word();
    void escape_keeps_window();
    void tab_reaches_every_control();
    void check_my_work_in_words();
    void topology_styles_links();
    void vlan_chooser_highlights();
    void screenshots();

private:
    LabDefinition lab(int id) const;
    void type(LabWindow &window, const QString &device, const QString &line);

    QMap<int, QJsonObject> questions_;
};

void TestLabWindow::initTestCase()
{
    QFile file(QStringLiteral(LAB_BANK));
    QVERIFY2(file.open(QIODevice::ReadOnly), LAB_BANK);
    // The bank's labs numbered from 1 in the order they come.
    for (const QJsonValue &question : QJsonDocument::fromJson(file.readAll()).object().value("questions").toArray())
        if (question.toObject().contains("lab"))
            questions_.insert(questions_.size() + 1, question.toObject());
    QVERIFY(questions_.contains(8));
}

LabDefinition TestLabWindow::lab(int id) const
{
    QStringList problems;
    LabDefinition lab = read_lab(questions_.value(id).value("lab").toObject(), &problems);
    lab.task = questions_.value(id).value("question").toString();
    return lab;
}

void TestLabWindow::type(LabWindow &window, const QString &device, const QString &line)
{
    DeviceConsole *console = window.console_of(device);
    QVERIFY(console);
    QTest::keyClicks(console->input(), line);
    QTest::keyClick(console->input(), Qt::Key_Return);
}

void TestLabWindow::solution_typed_meets_goals()
{
    LabWindow window;
    const LabDefinition eight = lab(8);
    window.show_lab(eight, false);
    window.show();
    const QString before = window.topology()->accessibleDescription();
    QVERIFY(before.contains(QLatin1String("SW1")));
    QVERIFY(!window.all_goals_met());
    for (auto it = eight.solution.begin(); it != eight.solution.end(); ++it)
        for (const QString &line : it.value())
            type(window, it.key(), line);
    QVERIFY2(window.all_goals_met(), qPrintable(window.goal_report().join('\n')));
    QVERIFY(window.topology()->accessibleDescription() != before);
    QCOMPARE(window.commands_typed(), QStringList{"SW1: bundle 1 ports P7,P8 mode lacp-active"});
    for (const QString &line : window.goal_report())
        QVERIFY2(line.startsWith(QLatin1String("Met: ")), qPrintable(line));
}

void TestLabWindow::history_recall()
{
    LabWindow window;
    window.show_lab(lab(8), true);
    type(window, "SW2", "show bundles");
    type(window, "SW2", "show spanning-tree");
    QLineEdit *input = window.console_of("SW2")->input();
    QTest::keyClick(input, Qt::Key_Up);
    QCOMPARE(input->text(), QStringLiteral("show spanning-tree"));
    QTest::keyClick(input, Qt::Key_Up);
    QCOMPARE(input->text(), QStringLiteral("show bundles"));
    QTest::keyClick(input, Qt::Key_Down);
    QCOMPARE(input->text(), QStringLiteral("show spanning-tree"));
    // Each device keeps its own.
    QTest::keyClick(window.console_of("SW1")->input(), Qt::Key_Up);
    QCOMPARE(window.console_of("SW1")->input()->text(), QString());
}

void TestLabWindow::tab_completes()
{
    LabWindow window;
    window.show_lab(lab(8), true);
    window.show();
    DeviceConsole *console = window.console_of("SW1");
    QTest::keyClicks(console->input(), "sh sp");
    QTest::keyClick(console->input(), Qt::Key_Tab);
    QCOMPARE(console->input()->text(), QStringLiteral("sh spanning-tree "));
    // Several choices: all of them are shown.
    console->input()->setText("port p");
    QTest::keyClick(console->input(), Qt::Key_Tab);
    QVERIFY2(console->output()->toPlainText().contains("port P7 "), qPrintable(console->output()->toPlainText()));
}

void TestLabWindow::question_mark_helps_without_running()
{
    LabWindow window;
    window.show_lab(lab(8), true);
    DeviceConsole *console = window.console_of("SW1");
    QTest::keyClicks(console->input(), "bundle 1 ports P7,P8 mode ?");
    QCOMPARE(console->input()->text(), QStringLiteral("bundle 1 ports P7,P8 mode "));
    QVERIFY2(console->output()->toPlainText().contains("lacp-active"), qPrintable(console->output()->toPlainText()));
    QVERIFY(window.commands_typed().isEmpty());
}

void TestLabWindow::wrong_command_points_at_word()
{
    LabWindow window;
    window.show_lab(lab(8), true);
    DeviceConsole *console = window.console_of("SW1");
    type(window, "SW1", "port P1 trnk");
    const QStringList lines = console->output()->toPlainText().split('\n');
    const int caret = lines.indexOf(QRegularExpression(QStringLiteral("^ *\\^$")));
    QVERIFY2(caret > 0, qPrintable(lines.join('\n')));
    // The caret stands under the first letter of the wrong word, as echoed
    // after the prompt, and the error says what is wrong in words.
    const QString above = lines[caret - 1];
    QCOMPARE(above, QStringLiteral("SW1> port P1 trnk"));
    QVERIFY(lines.value(caret + 1).startsWith(QLatin1String("Error: ")));
    QCOMPARE(above.indexOf(QLatin1String("trnk")), int(lines[caret].indexOf('^')));
}

void TestLabWindow::escape_keeps_window()
{
    LabWindow window;
    window.show_lab(lab(8), true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QLineEdit *input = window.console_of("SW1")->input();
    input->setFocus();
    QTest::keyClicks(input, "show");
    QTest::keyClick(input, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QCOMPARE(input->text(), QString());
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
}

void TestLabWindow::tab_reaches_every_control()
{
    LabWindow window;
    window.show_lab(lab(8), true);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSet<QWidget *> reached;
    for (int press = 0; press < 30; ++press) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        reached.insert(focus);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QVERIFY(reached.contains(window.topology()));
    QVERIFY(reached.contains(window.findChild<QComboBox *>()));
    QVERIFY(reached.contains(window.findChild<QPushButton *>()));
    QVERIFY(reached.contains(window.console_of("SW1")->input()));
    QVERIFY(reached.contains(window.console_of("SW1")->output()));
    QVERIFY(!window.topology()->accessibleName().isEmpty());
}

void TestLabWindow::check_my_work_in_words()
{
    LabWindow window;
    window.show_lab(lab(8), true);
    auto *check = window.findChild<QPushButton *>();
    QVERIFY(check && !check->isHidden());
    check->click();
    auto *report = window.findChild<QListWidget *>();
    QCOMPARE(report->count(), 3);
    QVERIFY(report->item(0)->text().startsWith(QLatin1String("Missed: ")));
    LabWindow exam;
    exam.show_lab(lab(8), false);
    QVERIFY(exam.findChild<QPushButton *>()->isHidden());
}

void TestLabWindow::topology_styles_links()
{
    LabWindow window;
    window.show_lab(lab(8), true);
    TopologyView *view = window.topology();
    // SW1-SW2 P7 and P8: two passive ends form no bundle, so the members are out.
    QCOMPARE(view->look_of(0), TopologyView::LinkLook::Down);
    type(window, "SW1", "bundle 1 ports P7,P8 mode lacp-active");
    QCOMPARE(view->look_of(0), TopologyView::LinkLook::Bundled);
    QCOMPARE(view->look_of(2), TopologyView::LinkLook::Forwarding);
}

void TestLabWindow::vlan_chooser_highlights()
{
    LabWindow window;
    window.show_lab(lab(11), true);
    auto *chooser = window.findChild<QComboBox *>();
    QVERIFY(chooser->findData(20) > 0);
    chooser->setCurrentIndex(chooser->findData(10));
    // Links 2 and 3: SW1 to PC1 (access VLAN 10) and to PC2 (access VLAN 20).
    QVERIFY(window.topology()->carries_vlan(2));
    QVERIFY(!window.topology()->carries_vlan(3));
    type(window, "SW1", "vlan 30");
    QVERIFY(chooser->findData(30) > 0);  // a VLAN made by a command is offered
    QCOMPARE(chooser->currentData().toInt(), 10);
}

void TestLabWindow::screenshots()
{
    const QString folder = qEnvironmentVariable("LAB_WINDOW_SHOTS");
    if (folder.isEmpty())
        QSKIP("LAB_WINDOW_SHOTS not set");
    for (const bool dark : {false, true}) {
        QPalette palette;
        if (dark) {
            palette.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
            palette.setColor(QPalette::WindowText, Qt::white);
            palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
            palette.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
            palette.setColor(QPalette::Text, Qt::white);
            palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
            palette.setColor(QPalette::ButtonText, Qt::white);
        }
        LabWindow window;
        window.setPalette(palette);
        window.show_lab(lab(11), true);
        window.resize(1100, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        type(window, "SW1", "port P7 shutdown");
        type(window, "SW1", "port P1 trnk");
        auto *chooser = window.findChild<QComboBox *>();
        chooser->setCurrentIndex(chooser->findData(20));
        QVERIFY(window.grab().save(folder + (dark ? "/lab-dark.png" : "/lab-light.png")));
        LabWindow bundle;
        bundle.setPalette(palette);
        bundle.show_lab(lab(8), true);
        bundle.resize(900, 600);
        bundle.show();
        type(bundle, "SW1", "bundle 1 ports P7,P8 mode lacp-active");
        bundle.findChild<QPushButton *>()->click();
        QVERIFY(bundle.grab().save(folder + (dark ? "/lab8-dark.png" : "/lab8-light.png")));
    }
}

QTEST_MAIN(TestLabWindow)
#include "test_lab_window.moc"
