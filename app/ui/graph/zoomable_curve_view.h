#pragma once

// The curve graph with its view window: the plot (drag to move, pinch or
// scroll over it to zoom, hover for the readout) and a row of zoom-out,
// zoom-in, the position bar and "Reset". Made afresh for each device, so a
// device switch starts at the starting view again.

#include <QWidget>
#include <functional>
#include <optional>

#include "app/ui/graph/curve_view.h"
#include "app/ui/graph/graph_window.h"
#include "common/device.h"

class QWheelEvent;

namespace quillon::ui {

class BorderlessButton;
class ScrollBar;

class ZoomableCurveView : public QWidget {
  Q_OBJECT
 public:
  // full and start in mm/s: 400 and 200 for the trackpad, 800 and 300 for
  // the mouse.
  ZoomableCurveView(double full, double start, QWidget* parent = nullptr);
  ~ZoomableCurveView() override;

  void setCurves(Curves curves, CurveMode current);
  // The "natural" setting of a device: it gives scrolling's zoom direction.
  void setNaturalScrolling(std::function<bool(Device)> natural);

  const GraphWindow& window() const { return window_; }
  void set(double lo, double span);
  void zoom(double factor, double anchor = 0.5);
  void reset();

  // The held scale: from the start of a slider drag in the panel to its
  // end, the vertical scale stays put, so the edited curve moves against
  // the others and the grid.
  void holdScale();
  void releaseScale();
  bool scaleHeld() const { return plot_->scene().heldScale.has_value(); }

  std::optional<double> hoverFraction() const { return hover_; }
  bool scrollMonitorInstalled() const { return monitoring_; }

  CurveView* plot() const { return plot_; }
  BorderlessButton* zoomOutButton() const { return zoomOut_; }
  BorderlessButton* zoomInButton() const { return zoomIn_; }
  BorderlessButton* resetButton() const { return reset_; }
  ScrollBar* scrollBar() const { return bar_; }

 signals:
  void windowChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  bool plotEvent(QEvent* event);
  // The app-wide scroll monitor: zooms when the pointer is over the plot.
  bool scrollZoom(QWheelEvent* event);
  void setHover(QPointF pos);
  void clearHover();
  void changed();

  GraphWindow window_;
  std::function<bool(Device)> natural_;
  std::optional<double> hover_;
  std::optional<QPointF> pressAt_;
  bool dragging_ = false;
  double nativeMagnification_ = 1;
  bool monitoring_ = false;

  CurveView* plot_;
  BorderlessButton* zoomOut_;
  BorderlessButton* zoomIn_;
  ScrollBar* bar_;
  BorderlessButton* reset_;
};

}  // namespace quillon::ui
