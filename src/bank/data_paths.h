#pragma once

#include <QString>

// The program's data files (the scenario bank) are looked up relative to the
// executable, at <dir of exe>/../share/lan_switching_quiz/, so one build works
// installed under any prefix and from the build tree, where the build stages a
// copy of the bank at <build>/share/lan_switching_quiz/.

// The scenario bank JSON beside the running program, or "" when there is none.
// Needs a QCoreApplication (it asks for the executable's folder).
QString scenario_bank_file();

// The scenario bank JSON for an executable in executable_dir, or "" when that
// is not an existing regular file.
QString scenario_bank_file_beside(const QString &executable_dir);
