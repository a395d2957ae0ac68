#include "ui/combs/combs_model.h"

#include "app/workspace.h"
#include "core/geometry.h"

#include <QColor>

namespace pelko {

TCombsModel::TCombsModel(const Workspace& ws, const TViewOptions& options, QObject* parent)
    : QAbstractTableModel(parent), ws_(ws), options_(options),
      rows_(static_cast<int>(ws.Combs().List.Count())) {}

int TCombsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TCombsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colCount;
}

QVariant TCombsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const TCombList& list = ws_.Combs().List;
    // The list may be rebuilt while an operation lets the window repaint; rows beyond the
    // current count are blank until the view is told.
    if (row >= list.Count()) return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == colPosition) return index.row() + 1;
        if (column >= colN1 && column <= colN6) return int(list[row][column - colN1]);
        if (column == colSum) {
            int sum = 0;
            for (std::uint8_t n : list[row])
                sum += n;
            return sum;
        }
        return {};
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (!options_.ColorCombs) return {};
        if (column >= colN1 && column <= colN6)
            return QColor::fromRgb(
                ChannelColor(list[row][column - colN1], ws_.Config().ChannelSize));
        return QColor(Qt::white);
    default:
        return {};
    }
}

QVariant TCombsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    switch (section) {
    case colPosition:
        return QStringLiteral("№ п.п.");
    case colSum:
        return QStringLiteral("S");
    default:
        return section >= colN1 && section <= colN6 ? QVariant(QString::number(section))
                                                    : QVariant();
    }
}

void TCombsModel::Refresh() {
    beginResetModel();
    rows_ = static_cast<int>(ws_.Combs().List.Count());
    endResetModel();
}

void TCombsModel::Repaint() {
    if (rows_ > 0) Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, colCount - 1));
}

} // namespace pelko
