// The yardstick for start-up time and memory: a bare Qt Widgets program that
// shows one empty window the size of the welcome window. Built a second time
// with BARE_WITH_TEXT, the window carries one line of text, which shows what
// any window with text costs (the font system) beyond an empty one.
#include <QApplication>
#include <QWidget>
#ifdef BARE_WITH_TEXT
#include <QLabel>
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(613, 403);
#ifdef BARE_WITH_TEXT
    auto *label = new QLabel(QStringLiteral("LAN Switching Practice Exam"), &window);
    label->move(20, 20);
#endif
    window.show();
    return app.exec();
}
