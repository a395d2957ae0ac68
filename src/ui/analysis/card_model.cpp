#include "ui/analysis/card_model.h"

#include "core/geometry.h"

#include <QColor>

#include <utility>

namespace pelko {

TCardModel::TCardModel(QObject* parent) : QAbstractTableModel(parent) {}

int TCardModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : card_.Rows();
}

int TCardModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : LOTTO_MAX;
}

void TCardModel::SetCard(TDrawCard card) {
    beginResetModel();
    card_ = std::move(card);
    endResetModel();
}

void TCardModel::SetColors(bool channels, bool sequences, int channelSize) {
    if (channels == channels_ && sequences == sequences_ && channelSize == channelSize_) return;
    channels_ = channels;
    sequences_ = sequences;
    channelSize_ = channelSize;
    Repaint();
}

void TCardModel::Repaint() {
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                           {Qt::BackgroundRole, Qt::ForegroundRole});
}

std::optional<std::uint32_t> TCardModel::CellColor(int row, int column) const {
    const int n = column + 1;
    if (sequences_) {
        switch (card_.Mark(row, n)) {
        case TCardMark::RepeatedSequence:
            return REPEATED_SEQUENCE_COLOR;
        case TCardMark::Repeated:
            return REPEATED_COLOR;
        case TCardMark::Sequence:
            return SEQUENCE_COLOR;
        case TCardMark::None:
            break;
        }
    }
    if (channels_) return ChannelColor(n, channelSize_);
    return std::nullopt;
}

QVariant TCardModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return card_.Has(row, column + 1) ? QVariant(column + 1) : QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (const auto color = CellColor(row, column)) return QColor::fromRgb(*color);
        return {};
    case Qt::ForegroundRole:
        if (CellColor(row, column)) return QColor(Qt::black);
        return {};
    default:
        return {};
    }
}

QVariant TCardModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return QString::number(section + 1);
    if (section < 0 || section >= card_.Rows()) return {};
    return int(card_.DrawNumber(section));
}

} // namespace pelko
