#pragma once
// lvFilters: the applied-filters history of the combination list ("Примененные фильтры",
// "Значения", "Комбинаций"), each row with its include, exclude or undo icon.

#include <QAbstractTableModel>
#include <QIcon>

namespace pelko {

class TCombLists;

class TFiltersModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum TColumn { colOperation, colValues, colCount_, colColumns };

    explicit TFiltersModel(const TCombLists& combs, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void Refresh();

  private:
    const TCombLists& combs_;
    int rows_ = 0;
    QIcon include_, exclude_, undo_;
};

} // namespace pelko
