#pragma once
// Paints the stakes grid: columns "Моя ставка" and "Результаты тиража" number by number
// (3 px apart, starting where the centred joined text would start), the matched numbers
// bold blue; every other cell as its model says (text, alignment, kind colour, result
// colour), with 2 px kept from the edge in the right- and left-aligned columns.

#include <QStyledItemDelegate>

namespace pelko {

class TStakesModel;

class TStakesDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static constexpr int NUMBER_GAP = 3;
    static constexpr int EDGE_GAP = 2;

    explicit TStakesDelegate(const TStakesModel& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    void PaintNumbers(QPainter* painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const;

    const TStakesModel& model_;
};

} // namespace pelko
