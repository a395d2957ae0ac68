#include "ui/ratings/ratings_model.h"

#include "app/ratings_desk.h"
#include "app/stakes_workspace.h"
#include "core/lottery.h"
#include "stakes/rating_view.h"
#include "ui/common/ui_text.h"

namespace pelko {

namespace {

Qt::Alignment AlignmentOf(int column) {
    if (column == rcComment) return Qt::AlignLeft | Qt::AlignVCenter;
    if (column == rcProfit || column == rcAvgProfit) return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignCenter;
}

QVariant RawValue(const TRatingData& row, int column, int mode) {
    const bool any = row.Stakes > 0;
    switch (column) {
    case rcComment:
        return QStr(row.CommentText());
    case rcStakes:
        return row.Stakes;
    case rcMatched:
        return row.Matched;
    case rcAverage:
        return any ? QVariant(double(row.Matched) / row.Stakes) : QVariant();
    case rcProfit:
        return MoneyToDouble(row.Profit);
    case rcAvgProfit:
        return any ? QVariant(MoneyToDouble(row.Profit) / row.Stakes) : QVariant();
    default:
        break;
    }
    if (column >= rcHits0 && column < rcExpected0) return row.Hits[column - rcHits0];
    if (const auto e = RatingEfficiency(row, column - rcExpected0, mode)) return *e;
    return {};
}

} // namespace

TRatingsModel::TRatingsModel(TRatingsDesk& desk, const TStakesOptions& options, QObject* parent)
    : QAbstractTableModel(parent), desk_(desk), options_(options),
      rows_(static_cast<int>(desk.Rows().Count())) {}

int TRatingsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TRatingsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rcColumnCount;
}

QVariant TRatingsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ ||
        static_cast<std::size_t>(index.row()) >= desk_.Rows().Count())
        return {};
    const TRatingData& row = desk_.Rows()[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return QStr(RatingCellText(row, index.column(), options_.EffMode));
    case SortRole:
        return RawValue(row, index.column(), options_.EffMode);
    case Qt::TextAlignmentRole:
        return int(AlignmentOf(index.column()));
    default:
        return {};
    }
}

QVariant TRatingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return QStr(RatingColumnCaption(section));
    if (role == Qt::TextAlignmentRole) return int(AlignmentOf(section));
    return {};
}

void TRatingsModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= rcColumnCount) return;
    desk_.Sort(column, order == Qt::DescendingOrder);
}

void TRatingsModel::Refresh() {
    const int rows = static_cast<int>(desk_.Rows().Count());
    if (rows != rows_) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
        return;
    }
    if (rows_ > 0) Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, rcColumnCount - 1));
}

} // namespace pelko
