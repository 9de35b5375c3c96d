// The clue, exhibit and diagram buttons of the question window: which of them
// show, the files they read (names relative to the current directory), the
// windows they open, and that those windows go when the answer is marked.
#include "harness/quiz_harness.h"

#include "gui/diagram.h"
#include "gui/exhibit.h"
#include "quiz/exhibit_file.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QTimer>
#include <QPointer>
#include <QRandomGenerator>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

using Names = std::array<QString, 4>;

question_record record_with(const QString &clue, const Names &diagrams = {}, const Names &exhibits = {})
{
    question_record record;
    record.question = QStringLiteral("Which port is elected on each non-root bridge?");
    record.answers = {QString(), QStringLiteral("Root port"), QStringLiteral("Blocked port")};
    record.correct = {0, 1, 0};
    record.question_type = QStringLiteral("MC");
    record.clue = clue;
    record.diagrams = diagrams;
    record.exhibits = exhibits;
    return record;
}

void write_file(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(name));
    QCOMPARE(file.write(bytes), bytes.size());
}

void write_picture(const QString &name)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixel(3, 2, qRgb(0, 0, 255));
    QVERIFY(image.save(name, "PNG"));
}

// Which of the clue (c), diagram (d1..d3) and exhibit (e1..e3) buttons show.
QString buttons_shown(quest &window)
{
    QStringList shown;
    if (ctl<QPushButton>(window, "cluebutton")->isVisible())
        shown << QStringLiteral("c");
    for (const char *kind : {"d", "e"})
        for (size_t m = 1; m <= 3; ++m)
            if ((*kind == 'd' ? window.diagrambutton : window.exhibitbutton)[m]->isVisible())
                shown << QString::fromLatin1(kind) + QString::number(m);
    return shown.join(QLatin1Char(' '));
}

} // namespace

class ClueExhibitDiagramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString previous_dir_;
    std::unique_ptr<QuizHarness> h_;

    // A quiz under way with this record on screen in place of its question.
    quest &on_screen(const question_record &record)
    {
        if (!h_) {
            h_ = std::make_unique<QuizHarness>();
            h_->start_program();
            h_->start_quiz(1, false, false, false, false);
        }
        return h_->show_only(record);
    }

    bool loaded_exhibit() const { return h_->program.windows.is_loaded<Exhibit>(); }
    bool loaded_diagram() const { return h_->program.windows.is_loaded<Diagram>(); }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        previous_dir_ = QDir::currentPath();
        QVERIFY(dir_->isValid() && QDir::setCurrent(dir_->path()));
    }

    void cleanup()
    {
        h_.reset();
        QDir::setCurrent(previous_dir_);
        dir_.reset();
    }

    // The buttons and the clue.

    void clue_button_shows_the_clue_in_a_message_box()
    {
        quest &window = on_screen(record_with(QStringLiteral("  Think of the lowest path cost.")));
        QVERIFY(ctl<QPushButton>(window, "cluebutton")->isVisible());
        QTest::mouseClick(ctl<QPushButton>(window, "cluebutton"), Qt::LeftButton);
        QCOMPARE(h_->messages.size(), 1);
        QCOMPARE(h_->messages.first().title, QStringLiteral("Clue"));
        QCOMPARE(h_->messages.first().text, QStringLiteral("  Think of the lowest path cost."));
    }

    void buttons_show_only_for_what_the_record_has()
    {
        quest &window = on_screen(record_with(QStringLiteral(" \t "), {"", "one.png", " ", ""}, {"", "", "", "three.txt"}));
        QCOMPARE(buttons_shown(window), QStringLiteral("d1 e3"));
        // The next record brings its own set, not what the last one had.
        on_screen(record_with(QStringLiteral("clue"), {"", "", "", "a.png"}, {"", "a.txt", "b.txt", ""}));
        QCOMPARE(buttons_shown(window), QStringLiteral("c d3 e1 e2"));
        on_screen(record_with({}));
        QCOMPARE(buttons_shown(window), QString());
    }

    void message_boxes_show_plain_text_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("clue") << "Clue";
        QTest::newRow("result") << "Test Complete!";
    }

    void message_boxes_show_plain_text()
    {
        QFETCH(QString, title);
        const QString text = QStringLiteral("<b>Root</b> &lt; 4096");
        struct {
            QString title, text;
            QMessageBox::Icon icon = QMessageBox::Information;
            Qt::TextFormat format = Qt::AutoText;
            bool ok = false;
        } seen;
        QTimer::singleShot(0, [&seen] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = {box->windowTitle(), box->text(), box->icon(), box->textFormat(), box->button(QMessageBox::Ok) != nullptr};
            box->button(QMessageBox::Ok)->click();
        });
        const ModalSeam seam = ModalSeam::interactive();
        if (title == QLatin1String("Clue"))
            seam.message(nullptr, title, text);
        else
            seam.result(nullptr, title, text, 0);
        QCOMPARE(seen.title, title);
        QCOMPARE(seen.text, text);
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.format, Qt::PlainText);
        QVERIFY(seen.ok);
    }

    // The file dialog leaves no QtProject.conf among the user's settings.
    void file_dialog_keeps_no_settings()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [] {
            if (QWidget *dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        closer.start(50);
        QCOMPARE(ModalSeam::interactive().open_file(nullptr, "Question bank", "Banks (*.gift)"), QString());
        QCOMPARE(QDir(config.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // Reading an exhibit file.

    void exhibit_text_is_read_line_by_line_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("CR LF") << QByteArray("Switch1#\r\nshow vlan\r\n") << QStringLiteral("Switch1#\r\nshow vlan\r\n");
        QTest::newRow("LF") << QByteArray("Switch1#\nshow vlan\n") << QStringLiteral("Switch1#\r\nshow vlan\r\n");
        QTest::newRow("no final line end") << QByteArray("a\r\nb") << QStringLiteral("a\r\nb\r\n");
        QTest::newRow("blank lines") << QByteArray("\n\r\n") << QStringLiteral("\r\n\r\n");
        QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9\n") << QStringLiteral("caf\u00e9\r\n");
        QTest::newRow("Latin-1") << QByteArray("caf\xe9 cr\xe8me\n") << QStringLiteral("caf\u00e9 cr\u00e8me\r\n");
        QTest::newRow("Latin-1 at the very end") << QByteArray("caf\xe9") << QStringLiteral("caf\u00e9\r\n");
    }

    void exhibit_text_is_read_line_by_line()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        write_file(QStringLiteral("exhibit.txt"), bytes);
        const std::optional<QString> read = read_exhibit(QStringLiteral("exhibit.txt"));
        QVERIFY(read.has_value());
        QCOMPARE(*read, text);
    }

    void exhibit_cut_at_the_limit_says_so_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("shown_bytes");
        QTest::newRow("mid-line") << QByteArray("show vlan\nport 1/1") << "show vlan\r\nport" << 14 << 14;
        QTest::newRow("never inside a character") << QByteArray("port 1/\xc3\xa9 up") << "port 1/" << 8 << 7;
        QTest::newRow("nor a four-byte one") << QByteArray("port 1/\xf0\x9f\x98\x80") << "port 1/" << 10 << 7;
        QTest::newRow("not cut") << QByteArray("port 1/1") << "port 1/1" << 8 << -1;
    }

    void exhibit_cut_at_the_limit_says_so()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(int, limit);
        QFETCH(int, shown_bytes);
        write_file(QStringLiteral("long.txt"), bytes);
        const std::optional<QString> text = read_exhibit(QStringLiteral("long.txt"), QString(), limit);
        QVERIFY(text.has_value());
        const QString note = shown_bytes < 0 ? QString() : exhibit_cut_note(shown_bytes, bytes.size()) + QStringLiteral("\r\n");
        QCOMPARE(*text, shown + QStringLiteral("\r\n") + note);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(exhibit_cut_note(14, 2048), QStringLiteral("[Cut here: the first 14 bytes of the file's 2.00 KiB are shown.]"));
        QLocale::setDefault(QLocale::system());
    }

    void only_an_exact_readable_file_is_found_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QStringLiteral("missing.txt");
        QTest::newRow("directory") << QStringLiteral("folder.txt");
        QTest::newRow("star") << QStringLiteral("*.txt");
        QTest::newRow("question mark") << QStringLiteral("?.txt");
        QTest::newRow("blank") << QStringLiteral("  ");
        QTest::newRow("embedded resource") << QStringLiteral(":/ui/pictures/strip.png");
    }

    void only_an_exact_readable_file_is_found()
    {
        QFETCH(QString, name);
        write_file(QStringLiteral("a.txt"), "first\n");
        write_file(QStringLiteral("b.txt"), "second\n");
        QVERIFY(QDir().mkdir(QStringLiteral("folder.txt")));
        write_file(QStringLiteral("./:colon.txt"), "a real file\n");  // Qt would take ":" for a resource
        QVERIFY(is_readable_file(QStringLiteral("a.txt")));
        QCOMPARE(read_exhibit(QStringLiteral(":colon.txt")), std::optional<QString>(QStringLiteral("a real file\r\n")));
        QVERIFY(!is_readable_file(name));
        QVERIFY(!read_exhibit(name).has_value());

        // The handlers themselves, as a blank name has no button to press.
        quest &window = on_screen(record_with({}, {"", name, "", ""}, {"", name, "", ""}));
        window.exhibitbutton_Click(1);
        window.diagrambutton_Click(1);
        QVERIFY(!loaded_exhibit() && !loaded_diagram());
        QVERIFY(h_->messages.isEmpty());
    }

    void unreadable_file_does_nothing()
    {
        if (::geteuid() == 0)
            QSKIP("root can read a file whatever its permissions");
        write_file(QStringLiteral("locked.txt"), "secret\n");
        write_picture(QStringLiteral("locked.png"));
        for (const char *name : {"locked.txt", "locked.png"})
            QVERIFY(QFile::setPermissions(QString::fromLatin1(name), QFileDevice::Permissions()));
        QVERIFY(!is_readable_file(QStringLiteral("locked.txt")));
        QVERIFY(!read_exhibit(QStringLiteral("locked.txt")).has_value());
        QVERIFY(read_diagram(QStringLiteral("locked.png")).isNull());

        quest &window = on_screen(record_with({}, {"", "locked.png", "", ""}, {"", "locked.txt", "", ""}));
        QTest::mouseClick(ctl<QPushButton>(window, "exhibitbutton_", 1), Qt::LeftButton);
        QTest::mouseClick(ctl<QPushButton>(window, "diagrambutton_", 1), Qt::LeftButton);
        QVERIFY(!loaded_exhibit() && !loaded_diagram());
    }

    // The exhibit window.

    void exhibit_window_shows_the_text_beside_the_question()
    {
        write_file(QStringLiteral("vlans.txt"), "VLAN Name\r\n10   Sales\r\n20   Staff");
        write_file(QStringLiteral("empty.txt"), QByteArray());
        write_file(QStringLiteral("dump.bin"), QByteArray("\x7f" "ELF\x02\x01\x00\x00\n\x00\xff", 11));
        quest &window = on_screen(record_with({}, {}, {"", "vlans.txt", "empty.txt", "dump.bin"}));

        QTest::mouseClick(ctl<QPushButton>(window, "exhibitbutton_", 1), Qt::LeftButton);
        Exhibit &exhibit = h_->program.windows.get<Exhibit>();
        QVERIFY(exhibit.isVisible());
        QVERIFY(!exhibit.isModal());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(is_centred(exhibit));
        QCOMPARE(ctl<TextLinesView>(exhibit, "Text1")->toPlainText().remove(QLatin1Char('\r')),
                 QStringLiteral("VLAN Name\n10   Sales\n20   Staff\n"));
        QVERIFY(window.isVisible());  // the question stays on screen

        // Read-only in effect: typing changes nothing.
        QTest::keyClicks(ctl<TextLinesView>(exhibit, "Text1"), QStringLiteral("xyz"));
        QVERIFY(!ctl<TextLinesView>(exhibit, "Text1")->toPlainText().contains(QStringLiteral("xyz")));

        // Another exhibit of the same question replaces the text.
        QTest::mouseClick(ctl<QPushButton>(window, "exhibitbutton_", 2), Qt::LeftButton);
        QCOMPARE(&h_->program.windows.get<Exhibit>(), &exhibit);
        QVERIFY(exhibit.isVisible());
        QCOMPARE(ctl<TextLinesView>(exhibit, "Text1")->toPlainText(), QString());

        // A binary file (NUL bytes, no valid UTF-8) is shown as two lines.
        QTest::mouseClick(ctl<QPushButton>(window, "exhibitbutton_", 3), Qt::LeftButton);
        QVERIFY(exhibit.isVisible());
        QVERIFY(ctl<TextLinesView>(exhibit, "Text1")->toPlainText().startsWith(QStringLiteral("\x7f" "ELF")));
        QCOMPARE(ctl<TextLinesView>(exhibit, "Text1")->lineCount(), 2);
        QVERIFY(h_->messages.isEmpty());

        // "close" and Escape hide it; the button shows it again.
        QCOMPARE(ctl<QPushButton>(exhibit, "Command1")->text(), QStringLiteral("close"));
        QTest::mouseClick(ctl<QPushButton>(exhibit, "Command1"), Qt::LeftButton);
        QVERIFY(!exhibit.isVisible());

        QTest::mouseClick(ctl<QPushButton>(window, "exhibitbutton_", 1), Qt::LeftButton);
        QVERIFY(exhibit.isVisible());
        QTest::keyClick(&exhibit, Qt::Key_Escape);
        QVERIFY(!exhibit.isVisible());

        // Escape reaches the window from the text box too.
        QTest::mouseClick(ctl<QPushButton>(window, "exhibitbutton_", 1), Qt::LeftButton);
        QVERIFY(exhibit.isVisible());
        QTest::keyClick(ctl<TextLinesView>(exhibit, "Text1"), Qt::Key_Escape);
        QVERIFY(!exhibit.isVisible());
    }

    // The diagram window.

    void diagram_window_shows_the_picture()
    {
        write_picture(QStringLiteral("topology.png"));
        quest &window = on_screen(record_with({}, {"", "", "", "topology.png"}));
        QTest::mouseClick(ctl<QPushButton>(window, "diagrambutton_", 3), Qt::LeftButton);
        Diagram &diagram = h_->program.windows.get<Diagram>();
        QVERIFY(diagram.isVisible());
        const QImage shown = ctl<QLabel>(diagram, "Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(40, 30));
        QCOMPARE(shown.pixel(3, 2), qRgb(0, 0, 255));
        QCOMPARE(shown.pixel(20, 20), qRgb(255, 0, 0));

        QCOMPARE(ctl<QPushButton>(diagram, "Command1")->text(), QStringLiteral("Close"));
        QTest::mouseClick(ctl<QPushButton>(diagram, "Command1"), Qt::LeftButton);
        QVERIFY(!diagram.isVisible());
        QTest::mouseClick(ctl<QPushButton>(window, "diagrambutton_", 3), Qt::LeftButton);
        QVERIFY(diagram.isVisible());
        QTest::keyClick(&diagram, Qt::Key_Escape);
        QVERIFY(!diagram.isVisible());
    }

    void diagram_keeps_its_shape_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("square, larger than the box") << QSize(600, 600);
        QTest::newRow("wide") << QSize(2000, 500);
        QTest::newRow("tall") << QSize(300, 1200);
        QTest::newRow("smaller: natural size") << QSize(300, 200);
    }

    void diagram_keeps_its_shape()
    {
        QFETCH(QSize, size);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QVERIFY(image.save(QStringLiteral("shape.png")));
        quest &window = on_screen(record_with({}, {"", "shape.png", "", ""}));
        QTest::mouseClick(ctl<QPushButton>(window, "diagrambutton_", 1), Qt::LeftButton);
        Diagram &diagram = h_->program.windows.get<Diagram>();
        for (const QSize window_size : {diagram.size(), diagram.size() * 2}) {
            diagram.resize(window_size);
            const QLabel &label = *ctl<QLabel>(diagram, "Image1");
            const QSizeF shown = label.pixmap().deviceIndependentSize();
            const QSize box = label.contentsRect().size();
            QCOMPARE(label.alignment(), Qt::AlignCenter);
            if (size.width() <= box.width() && size.height() <= box.height()) {
                QCOMPARE(shown, QSizeF(size));
            } else {
                QVERIFY(shown.width() <= box.width() + 0.5 && shown.height() <= box.height() + 0.5);
                QVERIFY2(qAbs(shown.width() - box.width()) <= 1 || qAbs(shown.height() - box.height()) <= 1,
                         qPrintable(QStringLiteral("%1x%2 in %3x%4").arg(shown.width()).arg(shown.height()).arg(box.width()).arg(box.height())));
                QVERIFY(qAbs(shown.width() * size.height() - shown.height() * size.width()) <= size.width() + size.height());
            }
        }
    }

    void second_click_brings_the_window_forward_data()
    {
        QTest::addColumn<bool>("exhibit");
        QTest::newRow("exhibit") << true;
        QTest::newRow("diagram") << false;
    }

    void second_click_brings_the_window_forward()
    {
        QFETCH(bool, exhibit);
        write_picture(QStringLiteral("one.png"));
        write_picture(QStringLiteral("two.png"));
        write_file(QStringLiteral("one.txt"), "one\n");
        write_file(QStringLiteral("two.txt"), "two\n");
        quest &window = on_screen(record_with({}, {"", "one.png", "two.png", ""}, {"", "one.txt", "two.txt", ""}));
        auto buttons = exhibit ? window.exhibitbutton : window.diagrambutton;
        QTest::mouseClick(buttons[1], Qt::LeftButton);
        QWidget *shown = exhibit ? static_cast<QWidget *>(&h_->program.windows.get<Exhibit>())
                                 : &h_->program.windows.get<Diagram>();
        QTRY_COMPARE(QApplication::activeWindow(), shown);
        // The question window comes to the front, hiding the other.
        window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        QTest::mouseClick(buttons[2], Qt::LeftButton);
        QTRY_COMPARE(QApplication::activeWindow(), shown);
        QVERIFY(shown->isVisible());
        if (exhibit)
            QCOMPARE(ctl<TextLinesView>(h_->program.windows.get<Exhibit>(), "Text1")->toPlainText(), QStringLiteral("two\r\n"));
    }

    void undecodable_picture_does_nothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray noise(4096, Qt::Uninitialized);
        QRandomGenerator random(20240611);
        for (char &byte : noise)
            byte = char(random.bounded(256));
        QTest::newRow("random bytes") << noise;
        QTest::newRow("text") << QByteArray("interface FastEthernet0/1\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("cut short") << QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR", 16);
    }

    void undecodable_picture_does_nothing()
    {
        QFETCH(QByteArray, bytes);
        write_file(QStringLiteral("broken.png"), bytes);
        QVERIFY(read_diagram(QStringLiteral("broken.png")).isNull());
        quest &window = on_screen(record_with({}, {"", "broken.png", "", ""}));
        QTest::mouseClick(ctl<QPushButton>(window, "diagrambutton_", 1), Qt::LeftButton);
        QVERIFY(!loaded_diagram());
        QVERIFY(h_->messages.isEmpty());
    }

    // Marking the answer.

    void next_unloads_the_exhibit_and_the_diagram()
    {
        write_picture(QStringLiteral("stp.png"));
        write_file(QStringLiteral("stp.txt"), "Root ID Priority 32769\n");
        quest &window = on_screen(record_with({}, {"", "stp.png", "", ""}, {"", "", "stp.txt", ""}));
        QTest::mouseClick(ctl<QPushButton>(window, "diagrambutton_", 1), Qt::LeftButton);
        QTest::mouseClick(ctl<QPushButton>(window, "exhibitbutton_", 2), Qt::LeftButton);
        QPointer<Diagram> diagram = &h_->program.windows.get<Diagram>();
        QPointer<Exhibit> exhibit = &h_->program.windows.get<Exhibit>();
        QVERIFY(diagram->isVisible() && exhibit->isVisible());

        const qint16 position = h_->program.session.state().current_question;
        h_->answer(window, true);
        QCOMPARE(h_->program.session.state().current_question, qint16(position + 1));
        QCOMPARE(h_->program.session.state().number_right, qint16(1));
        QVERIFY(!loaded_diagram() && !loaded_exhibit());
        QVERIFY(!diagram->isVisible() && !exhibit->isVisible());
        QuizHarness::settle();
        QVERIFY(diagram.isNull() && exhibit.isNull());
    }
    // Every way a quiz ends closes the diagram and exhibit of its question.
    void ending_the_quiz_closes_the_diagram_and_exhibit_data()
    {
        QTest::addColumn<int>("ending");
        QTest::newRow("Quit Test") << 0;
        QTest::newRow("closing the question window") << 1;
        QTest::newRow("NEXT on the last question, then a retry") << 2;
    }

    void ending_the_quiz_closes_the_diagram_and_exhibit()
    {
        QFETCH(int, ending);
        write_picture(QStringLiteral("stp.png"));
        write_file(QStringLiteral("stp.txt"), "Root ID Priority 32769\n");
        h_.reset();
        const question_record record = record_with({}, {"", "stp.png", "", ""}, {"", "", "stp.txt", ""});
        quest &window = on_screen(record);
        h_->program.bank.at(2) = record;
        h_->show_only(record);  // both questions of the quiz have the diagram and exhibit
        if (ending == 2)
            h_->answer(window, false);  // on to the last question
        QTest::mouseClick(ctl<QPushButton>(window, "diagrambutton_", 1), Qt::LeftButton);
        QTest::mouseClick(ctl<QPushButton>(window, "exhibitbutton_", 2), Qt::LeftButton);
        QVERIFY(loaded_diagram() && loaded_exhibit());
        h_->result_choice = ending == 2 ? ResultChoice::retry_missed : ResultChoice::ok;
        if (ending == 0)
            QTest::mouseClick(ctl<QPushButton>(window, "quitquiz"), Qt::LeftButton);
        else if (ending == 1)
            window.close();
        else
            h_->answer(window, false);
        QCOMPARE(h_->result_missed.size(), 1);
        QVERIFY(!loaded_diagram() && !loaded_exhibit());
    }

    // A typed answer takes every key typed in the window, Shift included,
    // wherever the focus is; the box has it when the question appears.
    void typed_answer_takes_every_key()
    {
        question_record typed = record_with({});
        typed.question_type = QStringLiteral("FILL");
        typed.answers = {QString(), QStringLiteral("Three")};
        h_.reset();
        quest &window = on_screen(typed);
        QPlainTextEdit *box = ctl<QPlainTextEdit>(window, "abox_", 1);
        QCOMPARE(window.focusWidget(), box);
        ctl<QPushButton>(window, "NextButton")->setFocus();
        QTest::keyClick(ctl<QPushButton>(window, "NextButton"), 'T', Qt::ShiftModifier);
        QTest::keyClicks(ctl<QPushButton>(window, "NextButton"), QStringLiteral("hree"));
        QCOMPARE(box->toPlainText(), QStringLiteral("Three"));
        box->clear();
        ctl<QPushButton>(window, "NextButton")->setFocus();
        QTest::keyClick(ctl<QPushButton>(window, "NextButton"), Qt::Key_Space);
        QCOMPARE(box->toPlainText(), QStringLiteral(" "));
        QCOMPARE(h_->program.session.answers().asked(), 0);  // the space pressed no button
    }

    // After the exhibit closes the focus is where it was in the question.
    void focus_comes_back_after_the_exhibit()
    {
        write_file(QStringLiteral("stp.txt"), "Root ID Priority 32769\n");
        h_.reset();
        quest &window = on_screen(record_with({}, {}, {"", "stp.txt", "", ""}));
        window.activateWindow();
        QPushButton *letter = ctl<QPushButton>(window, "QChoice_", 2);
        letter->setFocus();
        QTest::mouseClick(ctl<QPushButton>(window, "exhibitbutton_", 1), Qt::LeftButton);
        QVERIFY(loaded_exhibit());
        QTest::mouseClick(ctl<QPushButton>(h_->program.windows.get<Exhibit>(), "Command1"), Qt::LeftButton);
        QTRY_COMPARE(window.focusWidget(), letter);
    }
};

QTEST_MAIN(ClueExhibitDiagramTest)
#include "test_clue_exhibit_diagram.moc"
