#include "ui/stats/stat_table_model.h"

#include "stats/stat_table.h"
#include "ui/common/ui_text.h"

namespace pelko {

TStatTableModel::TStatTableModel(TStatTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table), rows_(static_cast<int>(table.RowCount())) {}

int TStatTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TStatTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : STAT_COLUMNS;
}

bool TStatTableModel::HasRow(int row) const {
    return row >= 0 && row < rows_ && static_cast<std::size_t>(row) < table_.RowCount();
}

QVariant TStatTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !HasRow(index.row()) || index.column() >= STAT_COLUMNS) return {};
    const TStatRow& row = table_.Row(static_cast<std::size_t>(index.row()));
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return QStr(row.Texts[static_cast<std::size_t>(column)]);
    case Qt::TextAlignmentRole:
        return column == scValue ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                 : int(Qt::AlignRight | Qt::AlignVCenter);
    case SortRole:
        switch (column) {
        case scCount:
            return row.Item.Count;
        case scNorm:
            return row.Item.Norm;
        case scDepth:
            return row.Item.LastAge;
        case scWeight:
            return static_cast<double>(row.Weight);
        case scLastDraw:
            return row.Item.LastDraw;
        case scPeriodMin:
            return int(row.Item.MinPeriod);
        case scPeriodMax:
            return int(row.Item.MaxPeriod);
        case scFact:
            return row.Fact;
        default:
            return QStr(row.Texts[static_cast<std::size_t>(column)]);
        }
    default:
        return {};
    }
}

QVariant TStatTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    }
    switch (role) {
    case Qt::DisplayRole:
        return QStr(StatColumnTitle(section));
    case Qt::InitialSortOrderRole:
        return int(Qt::AscendingOrder);
    default:
        return {};
    }
}

void TStatTableModel::sort(int column, Qt::SortOrder order) {
    if (column < -1 || column >= STAT_COLUMNS) return;
    beginResetModel();
    table_.SortBy(column, order == Qt::DescendingOrder);
    rows_ = static_cast<int>(table_.RowCount());
    endResetModel();
}

void TStatTableModel::ClickColumn(int column) {
    if (column < 0 || column >= STAT_COLUMNS) return;
    beginResetModel();
    table_.ClickColumn(column);
    rows_ = static_cast<int>(table_.RowCount());
    endResetModel();
}

void TStatTableModel::Refresh() {
    beginResetModel();
    rows_ = static_cast<int>(table_.RowCount());
    endResetModel();
}

} // namespace pelko
