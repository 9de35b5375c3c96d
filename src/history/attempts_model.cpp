#include "history/attempts_model.h"

#include "quiz/marking.h"
#include "history/results_summary.h"

#include <QLocale>

namespace {

QString duration_text(qint64 ms)
{
    const qint64 seconds = std::max<qint64>(0, ms / 1000);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool is_number(int column)
{
    return column >= AttemptsModel::right;
}

} // namespace

void AttemptsModel::set_attempts(std::vector<AttemptSummary> attempts)
{
    beginResetModel();
    attempts_ = std::move(attempts);
    endResetModel();
}

int AttemptsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(attempts_.size());
}

int AttemptsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : column_count;
}

QVariant AttemptsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= attempts_.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(is_number(index.column()) ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    // A screen reader reads each cell of a row with its column's title.
    if (role == Qt::AccessibleTextRole)
        return QStringLiteral("%1: %2").arg(headerData(index.column(), Qt::Horizontal).toString(),
                                            data(index, Qt::DisplayRole).toString());
    if (role != Qt::DisplayRole)
        return {};
    const AttemptSummary &attempt = attempts_[size_t(index.row())];
    switch (index.column()) {
    case finished: return QLocale().toString(attempt.ended.toLocalTime(), QLocale::ShortFormat);
    case quiz: return quiz_name(attempt.quiz);
    case mode: return attempt.mode == QuizMode::exam ? tr("Exam") : tr("Practice");
    case right: return QStringLiteral("%1/%2").arg(attempt.right).arg(attempt.asked);
    case score: return QStringLiteral("%1%").arg(percent_right(attempt.right, attempt.asked));
    case time_taken: return duration_text(attempt.started.msecsTo(attempt.ended));
    default: return {};
    }
}

QVariant AttemptsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(is_number(section) ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    static const QStringList titles{tr("Finished"), tr("Quiz"), tr("Mode"), tr("Right"), tr("Score"), tr("Time taken")};
    return titles.value(section);
}
