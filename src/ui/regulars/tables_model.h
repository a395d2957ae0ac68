#pragma once
// lvTables: the regular stakes of the desk, one row per rule in list order. The desk tells
// of every change and Refresh() follows it: the same number of rules repaints in place (the
// selection stays), any other number resets the rows.

#include <QAbstractTableModel>

namespace pelko {

class TRegularsDesk;

class TTablesModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum TColumn { colComment, colStart, colStep, colCurrent, colStakes, colCount };

    explicit TTablesModel(const TRegularsDesk& desk, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void Refresh();

  private:
    const TRegularsDesk& desk_;
    int rows_ = 0;
};

} // namespace pelko
