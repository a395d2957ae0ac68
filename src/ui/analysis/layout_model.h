#pragma once
// sgLayout: the layout map as a virtual table, the counts (most first) as the vertical
// header and the draws of the last occurrence (newest first) as the horizontal one. A cell
// holding a number of the first hidden draw ("[17]") is lime; the others are shaded by the
// gradient or the checkerboard, with dark text on every fill.

#include "stats/analysis/draw_layout.h"

#include <QAbstractTableModel>

#include <cstdint>

namespace pelko {

class TLayoutModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr std::uint32_t HIDDEN_DRAW_COLOR = 0x00FF00; // lime

    explicit TLayoutModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const TLayoutMap& Map() const { return map_; }
    void SetMap(TLayoutMap map);
    void SetGradient(bool gradient);

    // The fill of a cell (0-based, headers left out) as 0xRRGGBB.
    std::uint32_t CellColor(int row, int column) const;
    const std::string& CellText(int row, int column) const;

  private:
    TLayoutMap map_;
    bool gradient_ = true;
};

} // namespace pelko
