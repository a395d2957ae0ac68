#include "ui/combs/filters_model.h"

#include "app/comb_lists.h"
#include "ui/common/ui_icons.h"
#include "ui/common/ui_text.h"

namespace pelko {

TFiltersModel::TFiltersModel(const TCombLists& combs, QObject* parent)
    : QAbstractTableModel(parent), combs_(combs), rows_(static_cast<int>(combs.History().size())),
      include_(FilterKindIcon(TFilterKind::Include)),
      exclude_(FilterKindIcon(TFilterKind::Exclude)), undo_(FilterKindIcon(TFilterKind::Undo)) {}

int TFiltersModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TFiltersModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colColumns;
}

QVariant TFiltersModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(combs_.History().size())) return {};
    const TFilterHistoryRow& row = combs_.History()[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case colOperation:
            return QStr(row.Operation);
        case colValues:
            return QStr(row.Values);
        case colCount_:
            return static_cast<qulonglong>(row.Count);
        default:
            return {};
        }
    case Qt::DecorationRole:
        if (index.column() != colOperation) return {};
        return row.Kind == TFilterKind::Include   ? include_
               : row.Kind == TFilterKind::Exclude ? exclude_
                                                  : undo_;
    case Qt::ToolTipRole:
        return index.column() == colValues ? QVariant(QStr(row.Values)) : QVariant();
    default:
        return {};
    }
}

QVariant TFiltersModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    switch (section) {
    case colOperation:
        return QStringLiteral("Примененные фильтры");
    case colValues:
        return QStringLiteral("Значения");
    case colCount_:
        return QStringLiteral("Комбинаций");
    default:
        return {};
    }
}

void TFiltersModel::Refresh() {
    beginResetModel();
    rows_ = static_cast<int>(combs_.History().size());
    endResetModel();
}

} // namespace pelko
