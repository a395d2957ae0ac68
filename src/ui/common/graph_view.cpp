#include "ui/common/graph_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace pelko {

TGraphView::TGraphView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setObjectName(QStringLiteral("chGraph"));
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);
    setFocusPolicy(Qt::StrongFocus);
}

void TGraphView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) return;
    chart()->zoom(steps > 0 ? 1.25 * steps : 1.0 / (1.25 * -steps));
    event->accept();
}

void TGraphView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        panning_ = true;
        last_ = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void TGraphView::mouseMoveEvent(QMouseEvent* event) {
    if (panning_) {
        const QPoint now = event->position().toPoint();
        const QPoint delta = now - last_;
        // The chart scrolls its content the other way round from the drag.
        chart()->scroll(-delta.x(), delta.y());
        last_ = now;
        event->accept();
        return;
    }
    QChartView::mouseMoveEvent(event);
}

void TGraphView::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && event->button() == Qt::MiddleButton) {
        panning_ = false;
        unsetCursor();
        event->accept();
        return;
    }
    // The right button would zoom out by the rubber band's rule; it opens the pop-up.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void TGraphView::mouseDoubleClickEvent(QMouseEvent* event) {
    chart()->zoomReset();
    event->accept();
}

void TGraphView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        chart()->scroll(-10, 0);
        break;
    case Qt::Key_Right:
        chart()->scroll(10, 0);
        break;
    case Qt::Key_Up:
        chart()->scroll(0, 10);
        break;
    case Qt::Key_Down:
        chart()->scroll(0, -10);
        break;
    case Qt::Key_Plus:
        chart()->zoomIn();
        break;
    case Qt::Key_Minus:
        chart()->zoomOut();
        break;
    default:
        QChartView::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace pelko
