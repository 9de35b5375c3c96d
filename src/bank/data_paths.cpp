#include "bank/data_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString scenario_bank_file()
{
    return scenario_bank_file_beside(QCoreApplication::applicationDirPath());
}

QString scenario_bank_file_beside(const QString &executable_dir)
{
    if (executable_dir.isEmpty())
        return {};
    const QFileInfo bank(QDir(executable_dir), QStringLiteral("../share/lan_switching_quiz/scenarios/scenarios.json"));
    return bank.isFile() ? QDir::cleanPath(bank.absoluteFilePath()) : QString();
}
