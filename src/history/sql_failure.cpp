#include "history/sql_failure.h"

void prepare(QSqlQuery &query, const QString &sql)
{
    if (!query.prepare(sql))
        throw SqlFailure{query.lastError()};
}

void run(QSqlQuery &query, const QVariantList &values)
{
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw SqlFailure{query.lastError()};
}

void run(const QSqlDatabase &database, const QString &sql)
{
    QSqlQuery query(database);
    if (!query.exec(sql))
        throw SqlFailure{query.lastError()};
}

void roll_back(const QSqlDatabase &database)
{
    // SQLite may have ended the transaction itself on a failure (a full disk):
    // "no transaction is active" is then expected and harmless.
    QSqlQuery(database).exec(QStringLiteral("ROLLBACK"));
}
