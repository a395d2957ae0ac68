#include "ui/scenario/script_model.h"

#include "app/workspace.h"
#include "ui/common/ui_text.h"

namespace pelko {

TScriptModel::TScriptModel(Workspace& ws, QObject* parent) : QAbstractTableModel(parent), ws_(ws) {
    Refresh();
}

int TScriptModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TScriptModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colCount;
}

const TScriptRowTexts& TScriptModel::Row(int row) const {
    auto& cell = cache_[static_cast<std::size_t>(row)];
    if (!cell)
        cell = ScriptRowTexts(ws_.Stats(), ws_.Script().Lines().Get(static_cast<std::size_t>(row)));
    return *cell;
}

QVariant TScriptModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_ ||
        index.column() >= colCount)
        return {};
    return QStr(Row(index.row())[static_cast<std::size_t>(index.column())]);
}

QVariant TScriptModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case colComment:
        return QStringLiteral("Комментарии");
    case colOptions:
        return QStringLiteral("Опции");
    default:
        return QStringLiteral("Фильтр %1").arg(section - colFilter1 + 1);
    }
}

void TScriptModel::Refresh() {
    const int rows = static_cast<int>(ws_.Script().Count());
    if (rows != rows_) {
        beginResetModel();
        rows_ = rows;
        cache_.assign(static_cast<std::size_t>(rows), std::nullopt);
        endResetModel();
        return;
    }
    cache_.assign(static_cast<std::size_t>(rows), std::nullopt);
    if (rows > 0) Q_EMIT dataChanged(index(0, 0), index(rows - 1, colCount - 1));
}

} // namespace pelko
