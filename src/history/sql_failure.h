#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

// A statement of the results file that failed. Thrown inside the store and
// caught at its public functions, so each statement is a single line there.
struct SqlFailure {
    QSqlError error;

    // SQLite's primary result code (SQLITE_BUSY, SQLITE_CORRUPT...), 0 if none.
    int code() const { return error.nativeErrorCode().toInt() & 0xff; }
};

// Each throws SqlFailure when SQLite reports an error.
void prepare(QSqlQuery &query, const QString &sql);
// Binds values to the placeholders in order and runs the prepared query.
void run(QSqlQuery &query, const QVariantList &values = {});
// Runs one statement that returns nothing of interest.
void run(const QSqlDatabase &database, const QString &sql);

// Ends the transaction in force, if any, undoing it.
void roll_back(const QSqlDatabase &database);
