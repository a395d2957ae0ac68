#include "ui/analysis/layout_model.h"

#include "ui/common/ui_text.h"

#include <QColor>

#include <utility>

namespace pelko {

TLayoutModel::TLayoutModel(QObject* parent) : QAbstractTableModel(parent) {}

int TLayoutModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(map_.Counts.size());
}

int TLayoutModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(map_.LastDraws.size());
}

void TLayoutModel::SetMap(TLayoutMap map) {
    beginResetModel();
    map_ = std::move(map);
    endResetModel();
}

void TLayoutModel::SetGradient(bool gradient) {
    if (gradient == gradient_) return;
    gradient_ = gradient;
    if (rowCount() > 0 && columnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                           {Qt::BackgroundRole});
}

const std::string& TLayoutModel::CellText(int row, int column) const {
    return map_.Cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

std::uint32_t TLayoutModel::CellColor(int row, int column) const {
    if (CellText(row, column).find('[') != std::string::npos) return HIDDEN_DRAW_COLOR;
    // The grid's coordinates count the header row and column.
    return LayoutCellColor(row + 1, column + 1, rowCount() + 1, columnCount() + 1, gradient_);
}

QVariant TLayoutModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    switch (role) {
    case Qt::DisplayRole: {
        const std::string& text = CellText(index.row(), index.column());
        return text.empty() ? QVariant() : QVariant(QStr(text));
    }
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return QColor::fromRgb(CellColor(index.row(), index.column()));
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    default:
        return {};
    }
}

QVariant TLayoutModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole || section < 0) return {};
    const std::vector<std::int32_t>& values =
        orientation == Qt::Vertical ? map_.Counts : map_.LastDraws;
    if (section >= static_cast<int>(values.size())) return {};
    return int(values[static_cast<std::size_t>(section)]);
}

} // namespace pelko
