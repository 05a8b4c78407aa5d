#pragma once

// The graph's view window over the hand-speed axis, apart from any widget:
// the visible range [lo, lo + width], its clamped setter, zoom around an
// anchor, drag and pinch. All in mm/s.

#include <optional>

namespace quillon::ui {

class GraphWindow {
 public:
  static constexpr double kMinSpan = 20;  // smallest visible width

  // full: the whole range; start: the width of the starting view.
  GraphWindow(double full, double start) : full_(full), start_(start) {}

  double full() const { return full_; }
  double start() const { return start_; }
  double lo() const { return lo_; }
  // span when one was set, else the starting width.
  double width() const { return span_ >= 0 ? span_ : start_; }
  double hi() const { return lo_ + width(); }

  // Clamps span into [kMinSpan, full], then lo into [0, full − span].
  void set(double lo, double span);
  // Scales the width by f, keeping the point at fraction a of the window.
  void zoom(double f, double a = 0.5);
  // Back to the starting view.
  void reset();

  bool canZoomOut() const { return width() < full_ - 0.5; }
  bool canZoomIn() const { return kMinSpan + 0.5 < width(); }

  // A drag on the plot; translation in points, plotWidth the graph's W.
  // Dragging right shows lower speeds.
  void dragChanged(double translation, double plotWidth);
  void dragEnded() { dragFrom_.reset(); }

  // A pinch: magnification 1 at its start. Changes under 0.01 do not start
  // it, so a resting pair of fingers does not nudge the view.
  void pinchChanged(double magnification);
  void pinchEnded();
  bool pinching() const { return pinchFrom_.has_value(); }

 private:
  double full_;
  double start_;
  double lo_ = 0;
  double span_ = -1;  // negative: not set, the starting width applies
  std::optional<double> dragFrom_;
  std::optional<double> pinchFrom_;
};

}  // namespace quillon::ui
