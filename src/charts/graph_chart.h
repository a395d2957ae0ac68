#pragma once
// The result graphs as Qt charts: the chart of a graph's series with its axes, and its
// picture as PNG or SVG, for the chart window and for the command line (offscreen).

#include "stakes/result_graphs.h"

#include <QSize>
#include <QString>

class QChart;
class QWidget;

namespace pelko {

// The chart of the graph data, with its axes; the caller owns it.
QChart* MakeGraphChart(const TGraphData& graph);
// By the file's suffix: ".svg" as SVG, anything else as PNG. False when it was not written.
bool SaveGraphImage(QWidget& view, const QString& file);
// The chart drawn in a view of this size, without a window on the screen.
bool RenderGraphImage(const TGraphData& graph, const QString& file, QSize size = {900, 560});

} // namespace pelko
