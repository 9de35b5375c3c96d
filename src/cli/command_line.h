#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

// The program's command line. With no option the windows open, on the bank
// file given, if any; --check and --convert are tools for bank authors that
// run and end without a window (and without a display), as do --help and
// --version.
struct CommandLine {
    enum class Action { open_windows, show_help, show_version, check, convert, refuse };

    Action action = Action::open_windows;
    QStringList files;  // open_windows: none or one bank; check: the banks; convert: the one to convert
    QString to;         // convert: json, gift or moodle-xml
    QString output;     // convert: the file to write, "" = standard output
    QString error;      // refuse: why
};

// arguments[0] is the program. Qt's own options (-platform offscreen,
// -style fusion...) are left to Qt: they are passed over here, so that the
// command line is decided before any QApplication exists.
CommandLine parse_command_line(const QStringList &arguments);

// Runs any action but open_windows, writing to out and err as to standard
// output and standard error, and returns the exit status: 0 clean, 1 when
// questions were skipped or warned about, 2 when a file cannot be read,
// holds no question or cannot be written, or the command line is refused.
// Needs a QCoreApplication (the help names the program as it was started).
int run_command(const CommandLine &command, QIODevice &out, QIODevice &err);

// The same on the process's standard output and standard error.
int run_command(const CommandLine &command);
