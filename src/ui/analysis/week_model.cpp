#include "ui/analysis/week_model.h"

#include <QColor>
#include <QLocale>

namespace pelko {

TWeekModel::TWeekModel(QObject* parent) : QAbstractTableModel(parent) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (int day = 1; day <= DAYS; ++day)
        dayNames_.append(russian.dayName(day, QLocale::ShortFormat));
}

int TWeekModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : DAYS;
}

int TWeekModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : LOTTO_MAX;
}

void TWeekModel::SetCounts(const TWeekCounts& counts) {
    counts_ = counts;
    Q_EMIT dataChanged(index(0, 0), index(DAYS - 1, LOTTO_MAX - 1));
}

QVariant TWeekModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const std::int32_t count = Count(index.row(), index.column());
    const bool shaded = count > 0 && counts_.Max > 0;
    switch (role) {
    case Qt::DisplayRole:
        return count > 0 ? QVariant(int(count)) : QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return shaded ? QVariant(QColor::fromRgb(WeekCellColor(count, counts_.Max))) : QVariant();
    case Qt::ForegroundRole:
        return shaded ? QVariant(QColor(Qt::black)) : QVariant();
    default:
        return {};
    }
}

QVariant TWeekModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole || section < 0) return {};
    if (orientation == Qt::Horizontal)
        return section < LOTTO_MAX ? QVariant(QString::number(section + 1)) : QVariant();
    return section < DAYS ? QVariant(dayNames_[section]) : QVariant();
}

} // namespace pelko
