#include "centering.h"
#include "pictures.h"
#include "program.h"
#include "program_font.h"
#include "welcome.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(window_icon());
    apply_program_font();
    QApplication::setQuitOnLastWindowClosed(false);

    Program program;
    QObject::connect(&program.windows, &WindowRegistry::lastWindowUnloaded, &app, &QCoreApplication::quit);
    center_window(program.windows.get<Welcome>());

    const int status = app.exec();
    // Windows unloaded at the very end are still waiting to be deleted.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
