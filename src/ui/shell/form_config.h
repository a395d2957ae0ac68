#pragma once
// "Параметры системы": the lottery parameters (stake cost and prizes, the largest extended
// stake, the weight coefficients, the matrix with its segments, the channel size). Works on
// a copy; Execute hands the accepted record to the workspace, which saves it, rebuilds the
// method lists and the prefetch files of the groups that changed, and refreshes the views.

#include "core/config.h"
#include "core/segments.h"

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

namespace pelko {

class Workspace;

class TFormConfig : public QDialog {
    Q_OBJECT
  public:
    static constexpr int PROFIT_ROWS = LOTTO_COUNT + 1; // 0..6 matches

    explicit TFormConfig(const TConfigData& config, QWidget* parent = nullptr);

    // The dialog as the action "Параметры" opens it; true when accepted and applied.
    static bool Execute(QWidget* parent, Workspace& ws);

    // The record read back from the controls (valid after accept()).
    const TConfigData& Result() const { return result_; }

    // "Некорректное значение: %s!" with the advice, for a segment cell's text.
    static QString BadSegmentMessage(const QString& text);

    QDoubleSpinBox* edCost = nullptr;
    QSpinBox* edStakeMaxLen = nullptr;
    QTableWidget* edProfits = nullptr;
    QDoubleSpinBox* edCoefCount = nullptr;
    QDoubleSpinBox* edCoefDeviation = nullptr;
    QDoubleSpinBox* edCoefLevel = nullptr;
    QCheckBox* cbCoefPercents = nullptr;
    QCheckBox* cbCoefAbs = nullptr;
    QSpinBox* edMatrixCol = nullptr;
    QSpinBox* edMatrixRow = nullptr;
    QTableWidget* sgSegments = nullptr;
    QSpinBox* edChannelSize = nullptr;

    // The segment cell of number n (1..45) in the current grid.
    QTableWidgetItem* SegmentCell(int n) const;

    void accept() override;

  private:
    void FillProfits(const std::vector<TProfitItem>& profits);
    std::vector<TProfitItem> ReadProfits() const;
    // Builds the grid for `columns` columns showing the segments in number order.
    void FillSegments(const TSegments& segments, int columns);
    TSegments ReadSegments() const;
    void MatrixColsChanged(int columns);
    void SegmentEdited(QTableWidgetItem* item);

    TConfigData result_;
    int segmentCols_ = 0; // columns the grid was built with
    bool fillingSegments_ = false;
};

} // namespace pelko
