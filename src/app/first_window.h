#pragma once

#include <QString>

class Program;
class Welcome;

// The welcome window of a new run, centred: on the bank file named on the
// command line, or on the built-in bank when bank_file is "". A file that
// cannot be used leaves the built-in bank in place, with a message that
// says why.
Welcome &open_first_window(Program &program, const QString &bank_file);
