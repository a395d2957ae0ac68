#include "ui/stats/stat_chart_view.h"

#include "stats/stat_table.h"
#include "ui/common/ui_text.h"

#include <QChart>
#include <QCursor>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace pelko {

namespace {

constexpr int MARKER_SIZE = 5;

// A round magenta marker; light markers are drawn as images scaled to the marker size.
QImage MagentaMarker() {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(Qt::magenta));
    painter.drawEllipse(QRectF(1, 1, 14, 14));
    return image;
}

QList<QPointF> PointsOf(const std::vector<TChartPoint>& points, QStringList& labels) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    labels.clear();
    for (const TChartPoint& p : points) {
        list.append(QPointF(p.X, p.Y));
        labels.append(QStr(p.Label));
    }
    return list;
}

// "label: count" of the series' point nearest to x (x values are whole record numbers).
QString PointText(const QLineSeries& series, const QStringList& labels, const QPointF& point) {
    const QList<QPointF> points = series.points();
    const auto it =
        std::min_element(points.begin(), points.end(), [&](const QPointF& a, const QPointF& b) {
            return std::abs(a.x() - point.x()) < std::abs(b.x() - point.x());
        });
    if (it == points.end()) return {};
    const auto at = std::distance(points.begin(), it);
    const QString label = at < labels.size() ? labels[at] : QString();
    return QStringLiteral("%1: %2").arg(label).arg(it->y(), 0, 'f', 0);
}

} // namespace

TStatChartView::TStatChartView(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("crtDrawsStat"));
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setVisible(true);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

void TStatChartView::Clear() {
    chart()->removeAllSeries();
    // removeAxis hands the axis back to us (removeAllSeries deletes the series itself)
    for (QAbstractAxis* axis : chart()->axes()) {
        chart()->removeAxis(axis);
        delete axis;
    }
    actual_ = nullptr;
    total_ = nullptr;
    actualLabels_.clear();
    totalLabels_.clear();
}

void TStatChartView::Show(const TStatChart& data) {
    Clear();
    if (data.Actual.empty() && data.Total.empty()) return;

    actual_ = new QLineSeries;
    actual_->setName(QStr(TStatChart::ACTUAL_TITLE));
    QPen green(QColor(Qt::green));
    green.setWidth(2);
    actual_->setPen(green);
    actual_->setMarkerSize(MARKER_SIZE);
    actual_->setLightMarker(MagentaMarker());
    actual_->replace(PointsOf(data.Actual, actualLabels_));
    chart()->addSeries(actual_);
    connect(actual_, &QLineSeries::hovered, this, [this](const QPointF& point, bool state) {
        ShowPointLabel(actualLabels_, point, state);
    });

    if (data.HasTotal) {
        total_ = new QLineSeries;
        total_->setName(QStr(TStatChart::TOTAL_TITLE));
        total_->setPen(QPen(QColor(Qt::red)));
        total_->setPointsVisible(false);
        total_->replace(PointsOf(data.Total, totalLabels_));
        chart()->addSeries(total_);
        connect(total_, &QLineSeries::hovered, this, [this](const QPointF& point, bool state) {
            ShowPointLabel(totalLabels_, point, state);
        });
    }

    double maxX = 1, maxY = 1;
    for (const QLineSeries* series : {actual_, total_}) {
        if (!series) continue;
        for (const QPointF& p : series->points()) {
            maxX = std::max(maxX, p.x());
            maxY = std::max(maxY, p.y());
        }
    }
    auto* axisX = new QValueAxis;
    axisX->setRange(1, maxX);
    axisX->setLabelFormat(QStringLiteral("%d"));
    auto* axisY = new QValueAxis;
    axisY->setRange(0, maxY);
    axisY->applyNiceNumbers();
    chart()->addAxis(axisX, Qt::AlignBottom);
    chart()->addAxis(axisY, Qt::AlignLeft);
    for (QAbstractSeries* series : chart()->series()) {
        series->attachAxis(axisX);
        series->attachAxis(axisY);
    }
}

void TStatChartView::ShowPointLabel(const QStringList& labels, const QPointF& point, bool entered) {
    if (!entered) {
        QToolTip::hideText();
        return;
    }
    const QLineSeries* series = &labels == &actualLabels_ ? actual_ : total_;
    if (!series) return;
    QToolTip::showText(QCursor::pos(), PointText(*series, labels, point), this);
}

} // namespace pelko
