#include "cli/command_line.h"
#include "gui/pictures.h"
#include "app/navigator.h"
#include "app/program.h"
#include "gui/program_font.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The command line is decided before any QApplication exists: the
    // authors' tools (--check, --convert), --help, --version and a refused
    // command line need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command = parse_command_line(arguments);
    if (command.action != CommandLine::Action::open_windows) {
        QCoreApplication tool(argc, argv);
        return run_command(command);
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(window_icon());
    // Names the installed desktop entry, so that a Wayland desktop shows the
    // program's windows with its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.lan_switching_quiz"));
    apply_program_font();
    QApplication::setQuitOnLastWindowClosed(false);

    Program program;
    QObject::connect(&program.windows, &WindowRegistry::lastWindowUnloaded, &app, &QCoreApplication::quit);
    Navigator navigator(program);
    navigator.open_first_window(command.files.value(0));

    const int status = app.exec();
    // Windows unloaded at the very end are still waiting to be deleted.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
