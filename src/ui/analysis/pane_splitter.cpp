#include "ui/analysis/pane_splitter.h"

#include <algorithm>

namespace pelko {

namespace {

constexpr int MIN_PANE = 20;

} // namespace

TPaneSplitter::TPaneSplitter(const QString& name, QWidget* top, QWidget* bottom, int bottomHeight,
                             QWidget* parent)
    : QSplitter(Qt::Vertical, parent), height_(std::max(MIN_PANE, bottomHeight)) {
    setObjectName(name);
    addWidget(top);
    addWidget(bottom);
    setStretchFactor(0, 1);
    setStretchFactor(1, 0);
    setChildrenCollapsible(false);
}

int TPaneSplitter::BottomHeight() const {
    return placed_ ? sizes().value(1, height_) : height_;
}

void TPaneSplitter::SetBottomHeight(int height) {
    height_ = std::max(MIN_PANE, height);
    placed_ = false;
    Place();
}

void TPaneSplitter::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    if (!placed_) Place();
}

void TPaneSplitter::showEvent(QShowEvent* event) {
    QSplitter::showEvent(event);
    if (!placed_) Place();
}

void TPaneSplitter::Place() {
    const QList<int> parts = sizes();
    const int total = parts.value(0) + parts.value(1);
    if (!isVisible() || total <= 0) return; // placed when first laid out
    const int bottom = std::min(height_, std::max(MIN_PANE, total - MIN_PANE));
    setSizes({total - bottom, bottom});
    placed_ = true;
}

} // namespace pelko
