#pragma once

#include "bank/formats/imported_bank.h"

// One importer and one exporter per format; bank_formats.cpp picks them.
ImportedBank import_aiken(const QString &text);
ImportedBank import_gift(const QString &text);
ImportedBank import_moodle_xml(const QByteArray &bytes);
ImportedBank import_json(const QByteArray &bytes);

QByteArray export_aiken(const ImportedBank &bank);
QByteArray export_gift(const ImportedBank &bank);
QByteArray export_moodle_xml(const ImportedBank &bank);
QByteArray export_json(const ImportedBank &bank);
