#pragma once
// lvLayoutCmp1..5: one comparison list of the layout, "Кол-во" and the numbers drawn that
// often, the second column captioned by the window's draws ("4801 - 4900"). Rows come
// largest count first; a header click sorts by the count or by the numbers.

#include "stats/analysis/draw_layout.h"

#include <QAbstractTableModel>

namespace pelko {

class TLayoutCompareModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum TColumn { colCount, colNumbers, colColumns };

    explicit TLayoutCompareModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // The order stays for the lists that follow.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    const TLayoutCompare& Compare() const { return compare_; }
    void SetCompare(TLayoutCompare compare);

  private:
    void SortRows();

    TLayoutCompare compare_;
    int sortColumn_ = colCount;
    Qt::SortOrder sortOrder_ = Qt::DescendingOrder;
};

} // namespace pelko
