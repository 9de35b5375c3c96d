#pragma once

class QSqlDatabase;

// The results file's layout, versioned by PRAGMA user_version. Each version
// adds one step; a new file runs every step, an older file the steps it
// lacks, each in a transaction of its own, so the file is always at a whole
// version. Throws SqlFailure (sql_failure.h).
constexpr int history_schema_version = 4;

// Reads the file's version, taking no lock and changing nothing, and throws
// SqlFailure when it is none this program knows: SQLITE_CORRUPT for a damaged
// file (a version below 0, or 0 with tables already in it), an error of its
// own for a file of a newer program, which is refused untouched.
void check_schema_version(const QSqlDatabase &database);

void upgrade_schema(QSqlDatabase &database);
