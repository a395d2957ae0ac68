#pragma once
// The chart window of the result graphs: a line per series of the graph data with its
// legend at the bottom, value marks that the check box "Отображать метки на графиках"
// shows or hides, zoom and pan in the view, and a pop-up that saves the picture as PNG
// or SVG. Shown modally through the seams and destroyed afterwards.

#include "charts/graph_chart.h"
#include "stakes/result_graphs.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QChart;

namespace pelko {

class TGraphView;

class TFormGraph : public QDialog {
    Q_OBJECT
  public:
    explicit TFormGraph(const TGraphData& graph, QWidget* parent = nullptr);

    QCheckBox* cbMarks = nullptr;
    TGraphView* View() const { return view_; }

    // Runs the window over the graph.
    static void Execute(QWidget* parent, const TGraphData& graph);

  private:
    void ShowMarks(bool visible);
    void SaveAs();

    TGraphData graph_;
    TGraphView* view_ = nullptr;
};

} // namespace pelko
