#include "ui/draws/draws_model.h"

#include "app/workspace.h"
#include "core/draw_archive.h"
#include "core/geometry.h"
#include "ui/common/ui_text.h"

#include <QColor>

namespace pelko {

TDrawsModel::TDrawsModel(const Workspace& ws, const TViewOptions& options, QObject* parent)
    : QAbstractTableModel(parent), ws_(ws), options_(options),
      rows_(static_cast<int>(ws.Draws().size())) {}

int TDrawsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TDrawsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colCount;
}

int TDrawsModel::ArchiveIndex(int row) const {
    const int size = static_cast<int>(ws_.Draws().size());
    // An operation may have shrunk the archive before the view heard of it.
    if (row < 0 || row >= rows_ || row >= size) return -1;
    return size - 1 - row;
}

QVariant TDrawsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int archiveIndex = ArchiveIndex(index.row());
    if (archiveIndex < 0) return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: {
        const TDrawData draw = DrawForAnalysis(ws_.Draws()[archiveIndex], ws_.SortedDraws());
        if (column == colNumber) return draw.Number;
        if (column >= colN1 && column <= colN6) return int(draw.Nums[column - colN1]);
        if (column == colSum) {
            int sum = 0;
            for (std::uint8_t n : draw.Nums)
                sum += n;
            return sum;
        }
        if (column == colDate) return QStr(draw.DateText());
        return {};
    }
    case Qt::TextAlignmentRole:
        return column == colDate ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                                 : QVariant(int(Qt::AlignCenter));
    case Qt::BackgroundRole: {
        if (index.row() == ws_.DrawsOffset()) return QColor::fromRgb(ANALYSIS_POINT_COLOR);
        if (!options_.ColorDraws) return {};
        if (column >= colN1 && column <= colN6) {
            const TDrawData draw = DrawForAnalysis(ws_.Draws()[archiveIndex], ws_.SortedDraws());
            return QColor::fromRgb(
                ChannelColor(draw.Nums[column - colN1], ws_.Config().ChannelSize));
        }
        return column == colNumber ? QVariant() : QVariant(QColor(Qt::white));
    }
    default:
        return {};
    }
}

QVariant TDrawsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    switch (section) {
    case colNumber:
        return QStringLiteral("Тираж");
    case colSum:
        return QStringLiteral("S");
    case colDate:
        return QStringLiteral("Дата тиража");
    default:
        return section >= colN1 && section <= colN6 ? QVariant(QString::number(section))
                                                    : QVariant();
    }
}

void TDrawsModel::Refresh(bool force) {
    const int size = static_cast<int>(ws_.Draws().size());
    if (force || size != rows_) {
        beginResetModel();
        rows_ = size;
        endResetModel();
    } else if (rows_ > 0) {
        Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, colCount - 1));
    }
}

} // namespace pelko
