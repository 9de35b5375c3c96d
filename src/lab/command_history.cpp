// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/command_history.h"

#include "lab/lab_limits.h"

void CommandHistory::add(const QString &line)
{
    const QString kept = line.left(lab_limits::max_line_length);
    if (!kept.trimmed().isEmpty() && (lines_.isEmpty() || lines_.back() != kept))
        lines_ << kept;
    while (lines_.size() > lab_limits::max_history)
        lines_.removeFirst();
    position_ = int(lines_.size());
}

QString CommandHistory::up()
{
    if (lines_.isEmpty())
        return {};
    position_ = qMax(0, position_ - 1);
    return lines_[position_];
}

QString CommandHistory::down()
{
    position_ = qMin(int(lines_.size()), position_ + 1);
    return position_ < lines_.size() ? lines_[position_] : QString();
}
