#pragma once

#include "history/attempt_record.h"

#include <QAbstractTableModel>
#include <vector>

// The saved attempts as the results window lists them, newest first: when
// finished, which quiz, practice or exam, right out of asked, the score and
// the time taken. Texts are made only for the rows in view, so ten years of
// attempts open at once.
class AttemptsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { finished, quiz, mode, right, score, time_taken, column_count };

    using QAbstractTableModel::QAbstractTableModel;

    void set_attempts(std::vector<AttemptSummary> attempts);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<AttemptSummary> attempts_;
};
