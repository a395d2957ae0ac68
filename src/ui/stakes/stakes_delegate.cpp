#include "ui/stakes/stakes_delegate.h"

#include "stakes/stake_grid.h"
#include "ui/stakes/stakes_model.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace pelko {

namespace {

constexpr QRgb MATCHED_COLOR = 0x0000FF;

} // namespace

TStakesDelegate::TStakesDelegate(const TStakesModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

void TStakesDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const int column = index.column();
    if (column == scolNumbers || column == scolResult) {
        PaintNumbers(painter, option, index);
        return;
    }
    QStyleOptionViewItem shifted = option;
    const TCellAlign align = StakeColumnAlign(column);
    if (align == TCellAlign::Right)
        shifted.rect.adjust(0, 0, -EDGE_GAP, 0);
    else if (align == TCellAlign::Left)
        shifted.rect.adjust(EDGE_GAP, 0, 0, 0);
    QStyledItemDelegate::paint(painter, shifted, index);
}

void TStakesDelegate::PaintNumbers(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString joined = cell.text;
    cell.text.clear(); // the background and the selection only; the numbers follow
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const std::vector<TPaintedNumber> numbers =
        StakeCellNumbers(model_.Stake(index.row()), index.column());
    if (numbers.empty()) return;
    const QFont normal = cell.font;
    QFont bold = normal;
    bold.setBold(true);
    const QFontMetrics normalMetrics(normal);
    const QFontMetrics boldMetrics(bold);
    const bool selected = cell.state & QStyle::State_Selected;
    const QColor text = cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);

    const QRect area = cell.rect;
    // A set wider than the cell (an extended stake) starts at its left edge instead.
    int x = std::max(area.left() + EDGE_GAP,
                     area.left() + (area.width() - normalMetrics.horizontalAdvance(joined)) / 2);
    painter->save();
    painter->setClipRect(area);
    for (const TPaintedNumber& n : numbers) {
        const QString digits = QString::number(n.Number);
        painter->setFont(n.Matched ? bold : normal);
        painter->setPen(n.Matched ? QColor::fromRgb(MATCHED_COLOR) : text);
        const int width = (n.Matched ? boldMetrics : normalMetrics).horizontalAdvance(digits);
        painter->drawText(QRect(x, area.top(), width, area.height()), Qt::AlignVCenter, digits);
        x += width + NUMBER_GAP;
    }
    painter->restore();
}

} // namespace pelko
