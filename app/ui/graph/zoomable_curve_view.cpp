#include "app/ui/graph/zoomable_curve_view.h"

#include <QApplication>
#include <QGestureEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPinchGesture>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "app/ui/kit/borderless_button.h"
#include "app/ui/kit/scroll_bar.h"
#include "app/ui/style/fonts.h"

namespace quillon::ui {
namespace {
// Plot insets: the drawing leaves 6 points on each side.
constexpr double kInset = 6;
}  // namespace

ZoomableCurveView::ZoomableCurveView(double full, double start, QWidget* parent)
    : QWidget(parent),
      window_(full, start),
      natural_([](Device) { return true; }),
      plot_(new CurveView),
      zoomOut_(BorderlessButton::symbol(QStringLiteral("minus.magnifyingglass"),
                                        QStringLiteral("Zoom out"))),
      zoomIn_(BorderlessButton::symbol(QStringLiteral("plus.magnifyingglass"),
                                       QStringLiteral("Zoom in"))),
      bar_(new ScrollBar(Binding<double>{[this] { return window_.lo(); },
                                         [this](double lo) { set(lo, window_.width()); }})),
      reset_(BorderlessButton::titled(QStringLiteral("Reset"), fonts::caption(),
                                      QStringLiteral("Back to the starting view"))) {
  setFocusPolicy(Qt::NoFocus);
  plot_->setToolTip(
      QString::fromUtf8("Drag to move along the curve. Scroll, pinch or use \u2212 / + to zoom."));
  plot_->setMouseTracking(true);
  plot_->setAttribute(Qt::WA_AcceptTouchEvents);
  plot_->grabGesture(Qt::PinchGesture);
  plot_->installEventFilter(this);
  bar_->setToolTip(QStringLiteral("Drag to move along the curve"));

  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  row->addWidget(zoomOut_, 0, Qt::AlignVCenter);
  row->addWidget(zoomIn_, 0, Qt::AlignVCenter);
  row->addWidget(bar_, 1, Qt::AlignVCenter);
  row->addWidget(reset_, 0, Qt::AlignVCenter);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(4);
  column->addWidget(plot_);
  column->addLayout(row);

  connect(zoomOut_, &QAbstractButton::clicked, this, [this] { zoom(1.5); });
  connect(zoomIn_, &QAbstractButton::clicked, this, [this] { zoom(2.0 / 3.0); });
  connect(reset_, &QAbstractButton::clicked, this, &ZoomableCurveView::reset);
  changed();
}

ZoomableCurveView::~ZoomableCurveView() {
  if (monitoring_) qApp->removeEventFilter(this);
}

void ZoomableCurveView::setCurves(Curves curves, CurveMode current) {
  plot_->setCurves(std::move(curves), current);
}

void ZoomableCurveView::setNaturalScrolling(std::function<bool(Device)> natural) {
  natural_ = std::move(natural);
}

void ZoomableCurveView::set(double lo, double span) {
  window_.set(lo, span);
  changed();
}

void ZoomableCurveView::zoom(double factor, double anchor) {
  window_.zoom(factor, anchor);
  changed();
}

void ZoomableCurveView::reset() {
  window_.reset();
  changed();
}

void ZoomableCurveView::holdScale() {
  plot_->holdScale();
}

void ZoomableCurveView::releaseScale() {
  plot_->releaseScale();
}

void ZoomableCurveView::changed() {
  plot_->setRange(window_.lo(), window_.hi());
  zoomOut_->setEnabled(window_.canZoomOut());
  zoomIn_->setEnabled(window_.canZoomIn());
  bar_->setSpan(window_.width(), window_.full());
  bar_->setFaded(!window_.canZoomOut());
  emit windowChanged();
}

void ZoomableCurveView::setHover(QPointF pos) {
  // The legend row is not the plot: no readout there, and the plot's help
  // can show.
  if (!plot_->onPlot(pos)) {
    clearHover();
    return;
  }
  const double x = pos.x();
  const double w = plot_->width() - 2 * kInset;
  const double f = w <= 1 ? x - kInset : (x - kInset) / w;
  hover_ = std::clamp(f, 0.0, 1.0);
  plot_->setHoverFraction(hover_);
}

void ZoomableCurveView::clearHover() {
  if (!hover_) return;
  hover_.reset();
  plot_->setHoverFraction(std::nullopt);
}

void ZoomableCurveView::showEvent(QShowEvent*) {
  if (!monitoring_) {
    qApp->installEventFilter(this);
    monitoring_ = true;
  }
}

void ZoomableCurveView::hideEvent(QHideEvent*) {
  if (monitoring_) {
    qApp->removeEventFilter(this);
    monitoring_ = false;
  }
}

bool ZoomableCurveView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) return scrollZoom(static_cast<QWheelEvent*>(event));
  if (watched == plot_) return plotEvent(event);
  return false;
}

bool ZoomableCurveView::scrollZoom(QWheelEvent* event) {
  if (!hover_) return false;
  const bool precise = !event->pixelDelta().isNull();
  double d = precise ? event->pixelDelta().y() * 0.01 : event->angleDelta().y() / 120.0 * 0.12;
  if (d != 0) {
    if (!natural_(precise ? Device::trackpad : Device::mouse)) d = -d;
    zoom(std::exp(d), *hover_);
  }
  // Consumed even when d is 0, so the panel never scrolls under the graph.
  event->accept();
  return true;
}

bool ZoomableCurveView::plotEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() != Qt::LeftButton) return false;
      pressAt_ = e->position();
      dragging_ = false;
      return true;
    }
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      setHover(e->position());
      if (!pressAt_ || !(e->buttons() & Qt::LeftButton)) return false;
      const QPointF t = e->position() - *pressAt_;
      if (!dragging_ && std::hypot(t.x(), t.y()) < 2) return true;
      dragging_ = true;
      window_.dragChanged(t.x(), plot_->width());
      changed();
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
      pressAt_.reset();
      dragging_ = false;
      window_.dragEnded();
      return true;
    case QEvent::Enter:
      setHover(static_cast<QEnterEvent*>(event)->position());
      return false;
    case QEvent::Leave:
      clearHover();
      return false;
    case QEvent::ToolTip:
      // The readout already says what is under the pointer; the help would
      // cover it.
      return hover_.has_value();
    case QEvent::NativeGesture: {
      // The Mac trackpad's pinch: each event carries the change since the
      // previous one; the gesture's magnification is 1 plus their sum.
      auto* e = static_cast<QNativeGestureEvent*>(event);
      switch (e->gestureType()) {
        case Qt::BeginNativeGesture:
          nativeMagnification_ = 1;
          return true;
        case Qt::ZoomNativeGesture:
          nativeMagnification_ += e->value();
          window_.pinchChanged(nativeMagnification_);
          changed();
          return true;
        case Qt::EndNativeGesture:
          nativeMagnification_ = 1;
          window_.pinchEnded();
          return true;
        default:
          return false;
      }
    }
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      // Taken, so that Qt makes no mouse drag of a pinch's first finger;
      // the pinch gesture still sees the touches.
      event->accept();
      return true;
    case QEvent::Gesture: {
      auto* e = static_cast<QGestureEvent*>(event);
      auto* pinch = static_cast<QPinchGesture*>(e->gesture(Qt::PinchGesture));
      if (pinch == nullptr) return false;
      e->accept(pinch);
      if (pinch->state() == Qt::GestureStarted) window_.pinchEnded();
      window_.pinchChanged(pinch->totalScaleFactor());
      if (pinch->state() == Qt::GestureFinished || pinch->state() == Qt::GestureCanceled) {
        window_.pinchEnded();
      }
      changed();
      return true;
    }
    default:
      return false;
  }
}

}  // namespace quillon::ui
