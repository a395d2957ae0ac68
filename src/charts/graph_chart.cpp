#include "charts/graph_chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <map>

namespace pelko {

namespace {

// Beyond this many distinct x values the labels would overlap: plain numbers instead.
constexpr std::size_t MAX_X_LABELS = 40;

QAbstractAxis* MakeXAxis(const TGraphData& graph) {
    std::map<double, std::string> labels;
    for (const TGraphSeries& series : graph.Series)
        for (const TGraphPoint& point : series.Points)
            labels.emplace(point.X, point.Label);
    if (!labels.empty() && labels.size() <= MAX_X_LABELS) {
        auto* axis = new QCategoryAxis;
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        for (const auto& [x, label] : labels)
            axis->append(QString::fromStdString(label.empty() ? std::to_string(static_cast<long long>(x)) : label),
                         x);
        const double first = labels.begin()->first;
        const double last = labels.rbegin()->first;
        axis->setRange(first == last ? first - 1 : first, first == last ? last + 1 : last);
        return axis;
    }
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%.0f"));
    return axis;
}

} // namespace

QChart* MakeGraphChart(const TGraphData& graph) {
    auto* chart = new QChart;
    chart->setTitle(QString::fromStdString(graph.Caption));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QAbstractAxis* x = MakeXAxis(graph);
    auto* y = new QValueAxis;
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    double low = 0, high = 0;
    bool any = false;
    for (const TGraphSeries& data : graph.Series) {
        auto* series = new QLineSeries;
        series->setName(QString::fromStdString(data.Title));
        for (const TGraphPoint& point : data.Points) {
            series->append(point.X, point.Y);
            low = any ? std::min(low, point.Y) : point.Y;
            high = any ? std::max(high, point.Y) : point.Y;
            any = true;
        }
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
        QPen pen = series->pen();
        if (data.Color != 0) pen.setColor(QColor::fromRgb(data.Color));
        pen.setWidth(2);
        series->setPen(pen);
        series->setPointsVisible(data.Pointer);
        series->setMarkerSize(3);
        series->setPointLabelsFormat(QStringLiteral("@yPoint"));
        series->setPointLabelsVisible(data.Marks);
    }
    if (any) {
        const double margin = high > low ? (high - low) * 0.05 : 1;
        y->setRange(low - margin, high + margin);
    }
    return chart;
}

bool SaveGraphImage(QWidget& view, const QString& file) {
    if (file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(view.size());
        svg.setViewBox(QRect(QPoint(0, 0), view.size()));
        svg.setTitle(view.window()->windowTitle());
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        view.render(&painter);
        return painter.end();
    }
    return view.grab().save(file, "PNG");
}

bool RenderGraphImage(const TGraphData& graph, const QString& file, QSize size) {
    QChartView view(MakeGraphChart(graph));
    view.setRenderHint(QPainter::Antialiasing);
    view.resize(size);
    return SaveGraphImage(view, file);
}

} // namespace pelko
