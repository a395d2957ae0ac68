#include "ui/analysis/repeats_model.h"

#include "ui/common/ui_text.h"

namespace pelko {

void TRepeatsModel::SetAnalysis(TRepeatsAnalysis analysis) {
    beginResetModel();
    analysis_ = std::move(analysis);
    endResetModel();
}

int TRepeatsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(analysis_.Rows.size());
}

int TRepeatsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant TRepeatsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TRepeatRow& row = analysis_.Rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() == 1 || index.column() == 2 ? int(Qt::AlignCenter)
                                                          : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case 0: return row.DrawNumber;
    case 1: return row.Matches;
    case 2: return row.Count;
    default: return QStr(RepeatDrawsText(row));
    }
}

QVariant TRepeatsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const captions[4] = {"Тираж", "Совпадений", "Кол-во повторов",
                                            "Список тиражей"};
    return section >= 0 && section < 4 ? QStr(captions[section]) : QVariant();
}

} // namespace pelko
