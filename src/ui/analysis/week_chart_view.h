#pragma once
// crtWeek: one row or one column of the week grid as a chart, a green line with small
// magenta-rimmed markers or green bars, the category labels along the bottom, no value
// marks.

#include <QChartView>
#include <QList>
#include <QStringList>

class QBarSeries;
class QLineSeries;
class QValueAxis;

namespace pelko {

class TWeekChartView : public QChartView {
    Q_OBJECT
  public:
    explicit TWeekChartView(QWidget* parent = nullptr);

    // Replaces the series: values[i] at category labels[i].
    void Show(const QString& title, const QStringList& labels, const QList<int>& values, bool line);
    void Clear();

    QLineSeries* LineSeries() const { return line_; }
    QBarSeries* BarSeries() const { return bars_; }
    // What the series shows, in category order.
    QList<qreal> Values() const;

  private:
    // New values under the same labels and kind: the series and the axes stay, so moving
    // through the grid does not lay the chart out afresh.
    bool UpdateInPlace(const QString& title, const QStringList& labels, const QList<int>& values,
                       bool line);
    void SetValueRange(const QList<int>& values);

    QLineSeries* line_ = nullptr;
    QBarSeries* bars_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QStringList labels_;
};

} // namespace pelko
