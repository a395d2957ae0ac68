#include "ui/analysis/analysis_grids.h"

#include "ui/common/spreadsheet_view_export.h"
#include "ui/common/ui_text.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSpinBox>
#include <QTableView>

#include <algorithm>
#include <climits>
#include <memory>
#include <utility>

namespace pelko {

namespace {

class TEnterFilter : public QObject {
  public:
    TEnterFilter(QSpinBox* edit, std::function<void()> entered)
        : QObject(edit), edit_(edit), entered_(std::move(entered)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == edit_ && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                edit_->interpretText();
                entered_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QSpinBox* edit_;
    std::function<void()> entered_;
};

} // namespace

QTableView* MakeGridView(QWidget* parent, const QString& name, QAbstractItemModel* model,
                         int cellWidth, int cellHeight) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideNone);
    QHeaderView* columns = grid->horizontalHeader();
    columns->setMinimumSectionSize(std::min(cellWidth, columns->minimumSectionSize()));
    columns->setDefaultSectionSize(cellWidth);
    QHeaderView* rows = grid->verticalHeader();
    rows->setMinimumSectionSize(std::min(cellHeight, rows->minimumSectionSize()));
    rows->setDefaultSectionSize(cellHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    return grid;
}

std::optional<QRect> SelectionBounds(const QTableView& view) {
    const QItemSelection selection = view.selectionModel()->selection();
    if (selection.isEmpty()) return std::nullopt;
    QRect bounds;
    for (const QItemSelectionRange& range : selection) {
        const QRect cells(QPoint(range.left(), range.top()), QPoint(range.right(), range.bottom()));
        bounds = bounds.isNull() ? cells : bounds.united(cells);
    }
    return bounds;
}

TSheetTable SheetWithRowHeaders(const QTableView& view, const QString& title,
                                const QString& cornerCaption) {
    TSheetTable table = SheetFromView(view, title);
    table.Columns.insert(table.Columns.begin(), TSheetColumn{StdStr(cornerCaption), 8.0});
    const QAbstractItemModel* model = view.model();
    auto cellsOf = std::move(table.FillRow);
    auto rows = std::make_shared<std::vector<int>>();
    for (int row = 0; row < model->rowCount(); ++row)
        if (!view.isRowHidden(row)) rows->push_back(row);
    auto rest = std::make_shared<std::vector<TSheetCell>>(table.Columns.size() - 1);
    table.FillRow = [model, rows, rest, cellsOf](std::size_t i, std::vector<TSheetCell>& cells) {
        cellsOf(i, *rest);
        const QVariant header = model->headerData((*rows)[i], Qt::Vertical);
        bool number = false;
        const double value = header.toDouble(&number);
        cells[0] = number ? TSheetCell::Of(value) : TSheetCell::Of(StdStr(header.toString()));
        std::copy(rest->begin(), rest->end(), cells.begin() + 1);
    };
    return table;
}

QSpinBox* MakeLengthEdit(QWidget* parent, const char* name, int value, const QString& hint,
                         std::function<void()> entered) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setRange(1, INT_MAX);
    edit->setValue(value);
    edit->setKeyboardTracking(false);
    if (!hint.isEmpty()) {
        edit->setToolTip(hint);
        edit->setStatusTip(hint);
    }
    edit->installEventFilter(new TEnterFilter(edit, std::move(entered)));
    return edit;
}

} // namespace pelko
