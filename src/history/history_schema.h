#pragma once

class QSqlDatabase;

// The results file's layout, versioned by PRAGMA user_version. Each version
// adds one step; a new file runs every step, an older file the steps it
// lacks, each in a transaction of its own, so the file is always at a whole
// version. Throws SqlFailure (sql_failure.h); a file from a newer program is
// refused rather than changed.
constexpr int history_schema_version = 4;

void upgrade_schema(QSqlDatabase &database);
