#include "ui/regulars/tables_model.h"

#include "app/regulars_desk.h"
#include "ui/common/ui_text.h"

namespace pelko {

static_assert(TTablesModel::colCount == TABLE_COLUMN_COUNT, "the list shows every rule column");

TTablesModel::TTablesModel(const TRegularsDesk& desk, QObject* parent)
    : QAbstractTableModel(parent), desk_(desk), rows_(static_cast<int>(desk.Tables().size())) {}

int TTablesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TTablesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colCount;
}

QVariant TTablesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ ||
        static_cast<std::size_t>(index.row()) >= desk_.Tables().size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QStr(
            TableCellText(desk_.Tables()[static_cast<std::size_t>(index.row())], index.column()));
    case Qt::TextAlignmentRole:
        return int(index.column() == colComment ? Qt::AlignLeft | Qt::AlignVCenter
                                                : Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant TTablesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return QStr(TableColumnCaption(section));
}

void TTablesModel::Refresh() {
    const int rows = static_cast<int>(desk_.Tables().size());
    if (rows == rows_) {
        if (rows > 0) Q_EMIT dataChanged(index(0, 0), index(rows - 1, colCount - 1));
        return;
    }
    beginResetModel();
    rows_ = rows;
    endResetModel();
}

} // namespace pelko
