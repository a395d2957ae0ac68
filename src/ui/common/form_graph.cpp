#include "ui/common/form_graph.h"

#include "charts/graph_chart.h"

#include "ui/common/graph_view.h"
#include "ui/common/message_boxes.h"
#include "ui/common/ui_seams.h"
#include "ui/common/ui_text.h"

#include <QChart>
#include <QCheckBox>
#include <QLegend>
#include <QLineSeries>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace pelko {

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
