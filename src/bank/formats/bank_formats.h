// Question banks in the exchange formats of learning platforms (Aiken, GIFT,
// Moodle XML) and in the program's own JSON format: reading and writing.
#pragma once
#include "bank/formats/imported_bank.h"

#include <QByteArray>
#include <QString>
#include <optional>

constexpr qint64 max_bank_file_bytes = 64 * 1024 * 1024;

std::optional<BankFormat> format_from_name(const QString &word);   // "json", "aiken", "gift", "moodle-xml"
BankFormat detect_format(const QString &file_name, const QByteArray &bytes); // by suffix, then by content
ImportedBank import_bank(const QByteArray &bytes, BankFormat format);
// Reads a file (refusing files over max_bank_file_bytes, unreadable ones) and imports it;
// a file that cannot be read or holds no importable question gets a problem at line 0 and no questions.
ImportedBank read_bank_file(const QString &path);
QByteArray export_bank(const ImportedBank &bank, BankFormat format);  // Json, Gift, MoodleXml (Aiken too if simple)
