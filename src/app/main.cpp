#include "cli/command_line.h"
#include "gui/pictures.h"
#include "app/navigator.h"
#include "app/program.h"
#include "gui/program_font.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The authors' tools (--check, --convert) and --help and --version run
    // without a window, so they need no display.
    if (argc > 1) {
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        const CommandLine command = parse_command_line(arguments);
        if (command.action != CommandLine::Action::open_windows && command.action != CommandLine::Action::refuse) {
            QCoreApplication tool(argc, argv);
            return run_command(command);
        }
    }
    QApplication app(argc, argv);
    // Read again now that Qt has taken out its own options (-platform...).
    CommandLine command;
    if (argc > 1) {
        command = parse_command_line(QCoreApplication::arguments());
        if (command.action != CommandLine::Action::open_windows)
            return run_command(command);
    }
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
