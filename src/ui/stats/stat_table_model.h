#pragma once
// lvDrawsStat: the rows of the workspace's statistics table as a thin table model. The
// table owns the rows, their texts, their order and their selection flags; the model only
// shows them. Whoever changes the table (a computation, a sort) calls Refresh(), which
// resets the model; sort() goes through the table, so the view's header and the saved
// "SortType" sort with the table's own comparison.

#include <QAbstractTableModel>

namespace pelko {

class TStatTable;

class TStatTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The raw value behind a cell (a number where the row keeps one, else the text).
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit TStatTableModel(TStatTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Sorts the table by the column (-1: the order of computation).
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // A header click: another column sorts ascending, the sort column reverses.
    void ClickColumn(int column);
    // The table changed: the view reads it again.
    void Refresh();

  private:
    // The table may be cleared behind the model's back (a rebuild of the method list);
    // rows the view still asks for must then read as empty.
    bool HasRow(int row) const;

    TStatTable& table_;
    int rows_ = 0;
};

} // namespace pelko
