#pragma once
// sgWeek: how often each number (columns "1".."45") was drawn on each day of the week (rows
// Monday..Sunday under the short weekday names of the program's language). A zero count
// shows empty; a drawn one is shaded from white to red by its share of the largest count,
// with dark text.

#include "stats/analysis/week_stats.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace pelko {

class TWeekModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int DAYS = 7;

    explicit TWeekModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const TWeekCounts& Counts() const { return counts_; }
    // The grid keeps its shape: the current cell and the selection stay.
    void SetCounts(const TWeekCounts& counts);

    // Row r (0 Monday) of the grid.
    const QString& DayName(int row) const { return dayNames_[row]; }
    std::int32_t Count(int row, int column) const { return counts_.At(column + 1, row + 1); }

  private:
    TWeekCounts counts_;
    QStringList dayNames_;
};

} // namespace pelko
