#pragma once
// sgCard: the card of draws as a virtual table, a row per draw (newest first, its number in
// the vertical header) and a column per number 1..45; a drawn number shows in its cell.
// Fills: with the sequences option a drawn number repeated next to a neighbour of its own
// draw is yellow, only repeated lime, only next to a neighbour aqua; otherwise, with the
// channels option, every cell takes its number's channel colour. Filled cells get dark text
// so they read on a dark palette too.

#include "stats/analysis/draw_card.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <optional>

namespace pelko {

class TCardModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr std::uint32_t REPEATED_SEQUENCE_COLOR = 0xFFFF00; // yellow
    static constexpr std::uint32_t REPEATED_COLOR = 0x00FF00;          // lime
    static constexpr std::uint32_t SEQUENCE_COLOR = 0x00FFFF;          // aqua

    explicit TCardModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const TDrawCard& Card() const { return card_; }
    void SetCard(TDrawCard card);
    // Repaints when anything changed.
    void SetColors(bool channels, bool sequences, int channelSize);

    // The fill of a cell (0-based row and column; column c is number c + 1), none for the
    // palette's own.
    std::optional<std::uint32_t> CellColor(int row, int column) const;

  private:
    void Repaint();

    TDrawCard card_;
    bool channels_ = true;
    bool sequences_ = true;
    int channelSize_ = 5;
};

} // namespace pelko
