// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The lines typed into one console, for Up and Down. Keeps the last
// lab_limits::max_history lines; a line equal to the one before is kept once.
class CommandHistory {
public:
    void add(const QString &line);
    // The line before the one shown; the oldest stays when there is none.
    QString up();
    // The line after; an empty line past the newest.
    QString down();
    int size() const { return int(lines_.size()); }

private:
    QStringList lines_;
    int position_ = 0;  // lines_.size() when past the newest
};
