#include "ui/analysis/layout_compare_model.h"

#include "ui/common/ui_text.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace pelko {

namespace {

// "5, 12, 33" -> {5, 12, 33}: the numbers compare as numbers, not as text.
std::vector<long> NumbersOf(const std::string& text) {
    std::vector<long> numbers;
    const char* at = text.c_str();
    while (*at) {
        char* end = nullptr;
        const long n = std::strtol(at, &end, 10);
        if (end == at) {
            ++at;
            continue;
        }
        numbers.push_back(n);
        at = end;
    }
    return numbers;
}

} // namespace

TLayoutCompareModel::TLayoutCompareModel(QObject* parent) : QAbstractTableModel(parent) {}

int TLayoutCompareModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(compare_.Rows.size());
}

int TLayoutCompareModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colColumns;
}

void TLayoutCompareModel::SetCompare(TLayoutCompare compare) {
    beginResetModel();
    compare_ = std::move(compare);
    SortRows();
    endResetModel();
    Q_EMIT headerDataChanged(Qt::Horizontal, colNumbers, colNumbers);
}

void TLayoutCompareModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= colColumns) return;
    beginResetModel(); // a small list: the selection need not follow its rows
    sortColumn_ = column;
    sortOrder_ = order;
    SortRows();
    endResetModel();
}

void TLayoutCompareModel::SortRows() {
    auto less = [this](const TLayoutCompareRow& a, const TLayoutCompareRow& b) {
        if (sortColumn_ == colCount) return a.Count < b.Count;
        return NumbersOf(a.Numbers) < NumbersOf(b.Numbers);
    };
    std::stable_sort(compare_.Rows.begin(), compare_.Rows.end(),
                     [&](const TLayoutCompareRow& a, const TLayoutCompareRow& b) {
                         return sortOrder_ == Qt::AscendingOrder ? less(a, b) : less(b, a);
                     });
}

QVariant TLayoutCompareModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TLayoutCompareRow& row = compare_.Rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return index.column() == colCount ? QVariant(int(row.Count)) : QVariant(QStr(row.Numbers));
    if (role == Qt::TextAlignmentRole && index.column() == colCount) return int(Qt::AlignCenter);
    return {};
}

QVariant TLayoutCompareModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    if (section == colCount) return QStringLiteral("Кол-во");
    if (section == colNumbers) return QStr(compare_.Caption);
    return {};
}

} // namespace pelko
