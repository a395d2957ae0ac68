#include "ui/analysis/week_chart_view.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>

namespace pelko {

namespace {

constexpr int MARKER_SIZE = 6;

// A green dot with a magenta rim; light markers are images scaled to the marker size.
QImage RimmedMarker() {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(Qt::magenta), 3));
    painter.setBrush(QColor(Qt::green));
    painter.drawEllipse(QRectF(2, 2, 12, 12));
    return image;
}

} // namespace

TWeekChartView::TWeekChartView(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("crtWeek"));
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setVisible(false);
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

void TWeekChartView::Clear() {
    chart()->removeAllSeries();
    // removeAxis hands the axis back to us (removeAllSeries deletes the series itself)
    for (QAbstractAxis* axis : chart()->axes()) {
        chart()->removeAxis(axis);
        delete axis;
    }
    line_ = nullptr;
    bars_ = nullptr;
    axisY_ = nullptr;
    labels_.clear();
}

bool TWeekChartView::UpdateInPlace(const QString& title, const QStringList& labels,
                                   const QList<int>& values, bool line) {
    if (labels != labels_ || (line ? !line_ : !bars_) || !axisY_) return false;
    chart()->setTitle(title);
    if (line_) {
        QList<QPointF> points;
        for (qsizetype i = 0; i < values.size(); ++i) points.append(QPointF(double(i), values[i]));
        line_->replace(points);
    } else {
        QBarSet* set = bars_->barSets().front();
        set->setLabel(title);
        for (qsizetype i = 0; i < values.size(); ++i) set->replace(int(i), values[i]);
    }
    SetValueRange(values);
    return true;
}

void TWeekChartView::SetValueRange(const QList<int>& values) {
    // Whole counts only: at most about five steps of a whole size.
    const int top = values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
    const int step = std::max(1, (top + 4) / 5);
    axisY_->setTickInterval(step);
    axisY_->setRange(0, std::max(step, (top + step - 1) / step * step));
}

void TWeekChartView::Show(const QString& title, const QStringList& labels, const QList<int>& values,
                          bool line) {
    if (UpdateInPlace(title, labels, values, line)) return;
    Clear();
    chart()->setTitle(title);
    QAbstractSeries* series = nullptr;
    if (line) {
        line_ = new QLineSeries;
        QPen green(QColor(Qt::green));
        green.setWidth(2);
        line_->setPen(green);
        line_->setMarkerSize(MARKER_SIZE);
        line_->setLightMarker(RimmedMarker());
        for (qsizetype i = 0; i < values.size(); ++i)
            line_->append(double(i), values[i]);
        series = line_;
    } else {
        auto* set = new QBarSet(title);
        set->setColor(QColor(Qt::green));
        for (const int value : values)
            set->append(value);
        bars_ = new QBarSeries;
        bars_->append(set);
        bars_->setLabelsVisible(false);
        series = bars_;
    }
    chart()->addSeries(series);

    // Both kinds stand at 0, 1, 2...: one label under each, none cut short.
    auto* axisX = new QCategoryAxis;
    axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (qsizetype i = 0; i < values.size(); ++i)
        axisX->append(labels.value(i), double(i));
    axisX->setRange(-0.5, std::max<double>(0.5, double(values.size()) - 0.5));
    axisX->setGridLineVisible(false);
    auto* axisY = new QValueAxis;
    axisY_ = axisY;
    axisY->setTickType(QValueAxis::TicksDynamic);
    axisY->setTickAnchor(0);
    axisY->setLabelFormat(QStringLiteral("%d"));
    SetValueRange(values);
    labels_ = labels;
    chart()->addAxis(axisX, Qt::AlignBottom);
    chart()->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisX);
    series->attachAxis(axisY);
}

QList<qreal> TWeekChartView::Values() const {
    QList<qreal> values;
    if (line_)
        for (const QPointF& point : line_->points())
            values.append(point.y());
    if (bars_ && bars_->count() > 0)
        for (int i = 0; i < bars_->barSets().front()->count(); ++i)
            values.append(bars_->barSets().front()->at(i));
    return values;
}

} // namespace pelko
