#include "ui/common/form_graph.h"

#include "ui/common/graph_view.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QLegend>
#include <QLineSeries>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSvgGenerator>
#include <QVBoxLayout>
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
            axis->append(QStr(label.empty() ? std::to_string(static_cast<long long>(x)) : label),
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
    chart->setTitle(QStr(graph.Caption));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QAbstractAxis* x = MakeXAxis(graph);
    auto* y = new QValueAxis;
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    double low = 0, high = 0;
    bool any = false;
    for (const TGraphSeries& data : graph.Series) {
        auto* series = new QLineSeries;
        series->setName(QStr(data.Title));
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

TFormGraph::TFormGraph(const TGraphData& graph, QWidget* parent) : QDialog(parent), graph_(graph) {
    setObjectName(QStringLiteral("TFormGraph"));
    setWindowTitle(graph.Caption.empty() ? QStringLiteral("График") : QStr(graph.Caption));
    setWindowFlag(Qt::Tool);
    setSizeGripEnabled(true);

    view_ = new TGraphView(MakeGraphChart(graph_), this);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        connect(menu.addAction(QStringLiteral("Сохранить как PNG/SVG")), &QAction::triggered, this,
                &TFormGraph::SaveAs);
        menu.exec(view_->mapToGlobal(at));
    });

    cbMarks = new QCheckBox(QStringLiteral("Отображать метки на графиках"), this);
    cbMarks->setObjectName(QStringLiteral("cbMarks"));
    cbMarks->setChecked(true);
    connect(cbMarks, &QCheckBox::toggled, this, &TFormGraph::ShowMarks);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(view_, 1);
    layout->addWidget(cbMarks);

    resize(800, 500);
    if (const QScreen* screen = this->screen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TFormGraph::ShowMarks(bool visible) {
    // Only the series that were made with marks have any to show.
    const QList<QAbstractSeries*> all = view_->chart()->series();
    for (qsizetype i = 0; i < all.size() && i < static_cast<qsizetype>(graph_.Series.size()); ++i)
        if (graph_.Series[static_cast<std::size_t>(i)].Marks)
            static_cast<QLineSeries*>(all[i])->setPointLabelsVisible(visible);
}

void TFormGraph::SaveAs() {
    const QString file = TUiSeams::Current().SaveFileName(
        this, QStringLiteral("Сохранить как PNG/SVG"),
        QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg)"), QStringLiteral("png"));
    if (file.isEmpty()) return;
    if (!SaveGraphImage(*view_, file))
        ErrorBox(this, QStringLiteral("Ошибка записи в файл \"%1\"!").arg(file));
}

void TFormGraph::Execute(QWidget* parent, const TGraphData& graph) {
    TFormGraph form(graph, parent);
    TUiSeams::Current().ExecDialog(form);
}

} // namespace pelko
