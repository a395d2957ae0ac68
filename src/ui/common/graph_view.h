#pragma once
// The chart view of the result graphs: the mouse wheel zooms about the centre, a dragged
// rectangle zooms into it, the middle button (or the arrow keys) pans, a double click
// shows everything again.

#include <QChartView>
#include <QPoint>

namespace pelko {

class TGraphView : public QChartView {
    Q_OBJECT
  public:
    explicit TGraphView(QChart* chart, QWidget* parent = nullptr);

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool panning_ = false;
    QPoint last_;
};

} // namespace pelko
