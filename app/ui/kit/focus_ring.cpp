#include "app/ui/kit/focus_ring.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QStyleHints>

#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

constexpr char kOwnRing[] = "quillonDrawsOwnFocusRing";

bool ringed(const QWidget* w) {
  return w != nullptr && (w->focusPolicy() & Qt::TabFocus) && !w->property(kOwnRing).toBool() &&
         !w->isWindow();
}

QPainterPath outlineOf(const QWidget* w) {
  if (const auto* o = dynamic_cast<const FocusOutline*>(w)) return o->focusOutline();
  return roundedOutline(QRectF(w->rect()), 4);
}

}  // namespace

QColor focusRingColor() {
  return withAlpha(colors().accent, 0.5);
}

QPainterPath roundedOutline(const QRectF& r, double radius) {
  QPainterPath path;
  path.addRoundedRect(r, radius, radius);
  return path;
}

void paintFocusRing(QPainter& p, const QPainterPath& outline) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  // A stroke twice as wide, with its inner half clipped away.
  QPainterPath outside;
  outside.addRect(outline.boundingRect().adjusted(-2 * kFocusRingWidth, -2 * kFocusRingWidth,
                                                  2 * kFocusRingWidth, 2 * kFocusRingWidth));
  p.setClipPath(outside.subtracted(outline), Qt::IntersectClip);
  p.setPen(QPen(focusRingColor(), 2 * kFocusRingWidth));
  p.setBrush(Qt::NoBrush);
  p.drawPath(outline);
  p.restore();
}

namespace {

// Follows the application's focus; one per application, deleted with it.
class RingFollower : public QObject {
 public:
  // A window whose controls the keyboard has reached.
  static constexpr char kKeyboardUsed[] = "quillonKeyboardFocusUsed";

  static RingFollower& get() {
    static QPointer<RingFollower> one;
    if (!one) one = new RingFollower;
    return *one;
  }
  QPointer<FocusRing> ring;

 private:
  RingFollower() : QObject(qApp) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
      if (!ringed(now)) {
        if (ring) ring->follow(nullptr);
        return;
      }
      if (ring && ring->parentWidget() != now->window()) delete ring;
      if (!ring) ring = new FocusRing(now->window());
      ring->follow(now);
    });
    qApp->installEventFilter(this);
  }

  // A window that becomes active gives Qt's first control the focus unless
  // it had one: a control would then be focused without a Tab. Until the
  // keyboard has moved the focus in that window, it stays with none.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::FocusIn || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    QWidget* window = w->window();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::OtherFocusReason || reason == Qt::ShortcutFocusReason) {
      window->setProperty(kKeyboardUsed, true);
    } else if (reason == Qt::ActiveWindowFocusReason && w->focusPolicy() == Qt::TabFocus &&
               !window->property(kKeyboardUsed).toBool()) {
      w->clearFocus();
      return true;
    }
    return false;
  }
};

}  // namespace

void takeFocusByTab(QWidget* control) {
  control->setFocusPolicy(Qt::TabFocus);
  RingFollower::get();
}

void useFullKeyboardAccess() {
#ifndef Q_OS_MACOS
  QGuiApplication::styleHints()->setTabFocusBehavior(Qt::TabFocusAllControls);
#endif
}

void drawsOwnFocusRing(QWidget* widget) {
  widget->setProperty(kOwnRing, true);
}

FocusRing* FocusRing::current() {
  FocusRing* r = RingFollower::get().ring;
  return r && r->target() ? r : nullptr;
}

FocusRing::FocusRing(QWidget* window) : QWidget(window) {
  setObjectName(QStringLiteral("focusRing"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  hide();
}

void FocusRing::unwatch() {
  for (const QPointer<QWidget>& w : watched_) {
    if (w) w->removeEventFilter(this);
  }
  watched_.clear();
}

void FocusRing::follow(QWidget* focused) {
  unwatch();
  target_ = focused;
  if (!focused) {
    hide();
    shown_ = {};
    return;
  }
  // The control and every widget above it: a move of any moves the ring.
  for (QWidget* w = focused; w != nullptr; w = w->parentWidget()) {
    w->installEventFilter(this);
    watched_.append(w);
  }
  shown_ = {};
  place();
}

QPainterPath FocusRing::outlineInWindow() const {
  if (!target_) return {};
  return outlineOf(target_).translated(QPointF(target_->mapTo(target_->window(), QPoint(0, 0))));
}

void FocusRing::place() {
  if (!target_ || !target_->isVisible()) {
    hide();
    return;
  }
  const QPainterPath outline = outlineInWindow();
  const double grow = kFocusRingWidth + 1;
  const QRect area = outline.boundingRect().adjusted(-grow, -grow, grow, grow).toAlignedRect();
  const QPainterPath local = outline.translated(-QPointF(area.topLeft()));
  if (geometry() == area && local == shown_ && isVisible()) return;
  shown_ = local;
  setGeometry(area);
  show();
  raise();
  update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Paint:  // a control's outline may move with its state
      if (watched == target_ || event->type() != QEvent::Paint) place();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
  if (shown_.isEmpty()) return;
  QPainter p(this);
  paintFocusRing(p, shown_);
}

}  // namespace quillon::ui
