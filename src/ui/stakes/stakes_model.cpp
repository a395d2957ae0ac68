#include "ui/stakes/stakes_model.h"

#include "app/stakes_workspace.h"
#include "stakes/stake_grid.h"
#include "ui/common/ui_text.h"

#include <QColor>

#include <algorithm>
#include <climits>
#include <cstring>

namespace pelko {

namespace {

int RowsOf(TStakesDesk& desk) {
    return static_cast<int>(std::min<std::int64_t>(desk.StakesCount(), INT_MAX));
}

Qt::Alignment AlignmentOf(int column) {
    switch (StakeColumnAlign(column)) {
    case TCellAlign::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TCellAlign::Left:
        return Qt::AlignLeft | Qt::AlignVCenter;
    default:
        return Qt::AlignCenter;
    }
}

} // namespace

TStakesModel::TStakesModel(TStakesDesk& desk, QObject* parent)
    : QAbstractTableModel(parent), desk_(desk), rows_(RowsOf(desk)) {}

int TStakesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TStakesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : scolCount;
}

const TStakeData& TStakesModel::Stake(int row) const {
    TCachedRow& slot = cache_[static_cast<std::size_t>(row) % CACHE_ROWS];
    if (slot.Row != row) {
        slot.Stake = desk_.StakeAt(row);
        slot.Row = row;
        ++recordsRead_;
    }
    return slot.Stake;
}

QVariant TStakesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return QStr(StakeCellText(Stake(index.row()), column));
    case Qt::TextAlignmentRole:
        return int(AlignmentOf(column));
    case Qt::BackgroundRole:
        if (const auto color = StakeCellBackground(Stake(index.row())))
            return QColor::fromRgb(*color);
        return {};
    case Qt::ForegroundRole:
        if (const auto color = StakeCellTextColor(Stake(index.row()), column))
            return QColor::fromRgb(*color);
        return {};
    default:
        return {};
    }
}

QVariant TStakesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return QStr(StakeColumnCaption(section));
}

void TStakesModel::Refresh() {
    const int rows = RowsOf(desk_);
    if (rows < rows_) {
        beginResetModel();
        rows_ = rows;
        DropCache();
        endResetModel();
        return;
    }
    DropCache();
    if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    }
    if (rows_ > 0) Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, scolCount - 1));
}

void TStakesModel::DropCache() {
    for (TCachedRow& slot : cache_)
        slot.Row = -1;
}

} // namespace pelko
