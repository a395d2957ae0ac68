#pragma once
// crtDrawsStat: the statistics table's chart. "Фактические данные" is a green line with
// magenta point markers; "Все возможные комбинации" (the counts over all combinations,
// scaled) a red line without markers. Hovering a point shows its value's text.

#include <QChartView>
#include <QStringList>

class QLineSeries;

namespace pelko {

struct TStatChart;

class TStatChartView : public QChartView {
    Q_OBJECT
  public:
    explicit TStatChartView(QWidget* parent = nullptr);

    // Replaces every series with those of the chart data (none when it has no points).
    void Show(const TStatChart& data);
    void Clear();

    QLineSeries* ActualSeries() const { return actual_; }
    QLineSeries* TotalSeries() const { return total_; }

  private:
    void ShowPointLabel(const QStringList& labels, const QPointF& point, bool entered);

    QLineSeries* actual_ = nullptr;
    QLineSeries* total_ = nullptr;
    QStringList actualLabels_;
    QStringList totalLabels_;
};

} // namespace pelko
