#pragma once

#include <QString>
#include <optional>

// The file of that name in folder: the folder of the bank file that names
// it, or the current directory when folder is "" (the built-in bank). Qt
// reads a name starting with ':' as one of the program's embedded
// resources, so such a name is made explicitly relative.
QString local_file_path(const QString &name, const QString &folder = QString());

// True when the name, relative to folder as above, is an existing, readable
// regular file: no wildcard matching, and a directory of that name does not
// count.
bool is_readable_file(const QString &name, const QString &folder = QString());

// An exhibit is a page of text; a larger file is cut so that it cannot
// exhaust memory or freeze the window.
constexpr qint64 max_exhibit_bytes = 32 * 1024 * 1024;

// The text of an exhibit file in one pass: each line (ended by CR LF or LF
// in the file) followed by CR LF. UTF-8, or Latin-1 where the bytes are not
// valid UTF-8. Nothing when the file is missing or cannot be read. A file
// longer than max_bytes is cut there (never inside a character) and ends
// in a line that says so: exhibit_cut_note().
std::optional<QString> read_exhibit(const QString &name, const QString &folder = QString(),
                                    qint64 max_bytes = max_exhibit_bytes);

// "[Cut here: the first 32.00 MiB of the file's 40.00 MiB are shown.]"
QString exhibit_cut_note(qint64 shown_bytes, qint64 file_bytes);
