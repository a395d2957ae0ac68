#pragma once
// What the grids of the tabs "Карта", "Схема" and "Неделя" share: the look of a grid of
// small cells, the bounding rectangle of its selection, its spreadsheet with the row
// headers as the first column, the draw-count edits that act on Enter, and the inputs a
// view was last computed from.

#include "support/spreadsheet_export.h"

#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QAbstractItemModel;
class QSpinBox;
class QTableView;
class QWidget;

namespace pelko {

// Cells of cellWidth x cellHeight, no editing, any rectangle selectable, fixed row heights
// (the card has a row per draw).
QTableView* MakeGridView(QWidget* parent, const QString& name, QAbstractItemModel* model,
                         int cellWidth, int cellHeight);

// The rectangle spanning every selected cell (model rows and columns), none without a
// selection.
std::optional<QRect> SelectionBounds(const QTableView& view);

// The grid's sheet: the vertical header under `cornerCaption`, then the visible columns.
TSheetTable SheetWithRowHeaders(const QTableView& view, const QString& title,
                                const QString& cornerCaption);

// A count of draws (1..2147483647) whose Enter runs `entered` once the text is taken.
QSpinBox* MakeLengthEdit(QWidget* parent, const char* name, int value, const QString& hint,
                         std::function<void()> entered);

// The archive length, the offset and N a view was computed for; -1 before the first time.
// What a view was last built from; the archive's fingerprint catches a draw edited in place.
struct TRefreshKey {
    std::uint64_t Fingerprint = 0;
    int Draws = -1;
    int Offset = -1;
    int Length = -1;
    friend bool operator==(const TRefreshKey&, const TRefreshKey&) = default;
};

} // namespace pelko
