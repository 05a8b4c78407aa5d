#include "app/ui/kit/overlay_scroll_area.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <optional>

#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

constexpr int kStrip = 11;  // the knob's strip along the right edge
constexpr double kKnobWidth = 6;
constexpr double kEdgeGap = 2.5;  // between the knob and the area's edge
constexpr double kMinKnob = 24;

// The knob over the content: a strip as tall as the area that draws the
// capsule where the scroll position puts it, and moves the content when
// dragged or pressed beside it.
class Knob : public QWidget {
 public:
  explicit Knob(QScrollBar* bar, QWidget* parent) : QWidget(parent), bar_(bar) {
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    connect(bar_, &QScrollBar::valueChanged, this, [this] { update(); });
    connect(bar_, &QScrollBar::rangeChanged, this, [this] { update(); });
    connect(&Appearance::instance(), &Appearance::changed, this, [this] { update(); });
  }

  QRectF capsule() const {
    const double track = height() - 2 * kEdgeGap;
    const double total = bar_->maximum() + bar_->pageStep();
    const double length = total <= 0 ? track : std::max(kMinKnob, track * bar_->pageStep() / total);
    const double travel = track - length;
    const double at = bar_->maximum() <= 0 ? 0 : travel * bar_->value() / bar_->maximum();
    return {width() - kEdgeGap - kKnobWidth, kEdgeGap + at, kKnobWidth, length};
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (bar_->maximum() <= 0) return;
    const Palette& pal = colors();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(pal.dark ? QColor(255, 255, 255, 110) : QColor(0, 0, 0, 105));
    p.drawRoundedRect(capsule(), kKnobWidth / 2, kKnobWidth / 2);
  }

  void mousePressEvent(QMouseEvent* event) override {
    const QRectF knob = capsule();
    const double y = event->position().y();
    if (!knob.contains(QPointF(knob.center().x(), y))) {
      // Beside the knob: the knob's middle jumps to the pointer.
      moveKnobTo(y - knob.height() / 2);
    }
    grabOffset_ = y - capsule().top();
    event->accept();
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    if (grabOffset_) moveKnobTo(event->position().y() - *grabOffset_);
    event->accept();
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    grabOffset_.reset();
    event->accept();
  }

 private:
  void moveKnobTo(double top) {
    const double travel = height() - 2 * kEdgeGap - capsule().height();
    if (travel <= 0) return;
    const double f = std::clamp((top - kEdgeGap) / travel, 0.0, 1.0);
    bar_->setValue(qRound(f * bar_->maximum()));
  }

  QScrollBar* bar_;
  std::optional<double> grabOffset_;
};

}  // namespace

OverlayScrollArea::OverlayScrollArea(QWidget* content, QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::NoFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The bar keeps the position and takes the wheel; it is never shown, the
  // knob draws it over the content instead of beside it.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWidgetResizable(true);
  setAutoFillBackground(false);
  viewport()->setAutoFillBackground(false);
  setWidget(content);
  content->setAutoFillBackground(false);

  knob_ = new Knob(verticalScrollBar(), this);
  knob_->setObjectName(QStringLiteral("scrollKnob"));
  connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int max) {
    const bool now = max > 0;
    knob_->setVisible(now);
    if (now == scrolls_) return;
    scrolls_ = now;
    emit scrollsChanged(now);
  });
  knob_->setVisible(false);
  placeKnob();
  // The typing focus is always in sight, however it got there.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now && widget() && widget()->isAncestorOf(now)) ensureWidgetVisible(now);
  });
}

bool OverlayScrollArea::scrolls() const {
  return scrolls_;
}

void OverlayScrollArea::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  placeKnob();
}

void OverlayScrollArea::placeKnob() {
  const QRect vp = viewport()->geometry();
  knob_->setGeometry(vp.right() + 1 - kStrip, vp.top(), kStrip, vp.height());
  knob_->raise();
}

}  // namespace quillon::ui
