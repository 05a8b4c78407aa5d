#include "app/ui/graph/graph_window.h"

#include <algorithm>
#include <cmath>

namespace quillon::ui {

void GraphWindow::set(double lo, double span) {
  const double s = std::min(std::max(span, kMinSpan), full_);
  span_ = s;
  lo_ = std::min(std::max(lo, 0.0), full_ - s);
}

void GraphWindow::zoom(double f, double a) {
  const double w = width();
  const double s = std::min(std::max(f * w, kMinSpan), full_);
  set(lo_ + a * w - a * s, s);
}

void GraphWindow::reset() {
  lo_ = 0;
  span_ = -1;
}

void GraphWindow::dragChanged(double translation, double plotWidth) {
  if (!dragFrom_) dragFrom_ = lo_;
  const double w = width();
  set(*dragFrom_ - (w / std::max(plotWidth - 12, 1.0)) * translation, w);
}

void GraphWindow::pinchChanged(double magnification) {
  if (!pinchFrom_) {
    if (std::abs(magnification - 1) < 0.01) return;
    pinchFrom_ = width();
  }
  // A magnification at or below 0 (fingers crossing) would divide by zero or
  // flip the window; treat it as the widest view.
  const double m = std::max(magnification, 1e-6);
  const double s = std::min(std::max(*pinchFrom_ / m, kMinSpan), full_);
  set(lo_ + width() * 0.5 - s * 0.5, s);
}

void GraphWindow::pinchEnded() {
  pinchFrom_.reset();
}

}  // namespace quillon::ui
