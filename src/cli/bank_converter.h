#pragma once

#include "bank/formats/bank_formats.h"

#include <QStringList>
#include <optional>

class QIODevice;

// The formats a bank can be converted to: json, gift or moodle-xml.
std::optional<BankFormat> exported_format(const QString &word);

struct ConversionResult {
    bool written = false;
    QStringList messages;  // for standard error: what was not written, or why nothing was
};

// Writes the bank in that format to output, or to out when output is "".
// Moodle XML keeps the bank's embedded pictures inside the file. In the
// other formats, with an output file, each one is written beside it as
// <output's base name>-<picture name> (only letters, digits, '.', '-' and '_'
// kept, so a bank cannot name a file elsewhere) and the records' diagrams
// name those files. Only new files are written: a name that exists (a file,
// a symbolic link, a device...) is refused, and a conversion that fails
// removes the files it wrote.
ConversionResult convert_bank(ImportedBank bank, BankFormat format, const QString &output, QIODevice &out);
