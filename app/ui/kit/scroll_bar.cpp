#include "app/ui/kit/scroll_bar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEasingCurve>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "app/ui/kit/focus_ring.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

// QAccessibleWidget is its own action interface. The value is the graph's
// left end, in mm/s of hand speed, as the axis reads it.
class ScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit ScrollBarAccessible(ScrollBar* w) : QAccessibleWidget(w, QAccessible::ScrollBar) {}
  ScrollBar* bar() const { return static_cast<ScrollBar*>(widget()); }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return QStringLiteral("Graph position");
    if (t == QAccessible::Value) {
      return QStringLiteral("%1 to %2 mm/s")
          .arg(qRound(bar()->position()))
          .arg(qRound(bar()->position() + bar()->span()));
    }
    return QAccessibleWidget::text(t);
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QVariant currentValue() const override { return bar()->position(); }
  void setCurrentValue(const QVariant& v) override { bar()->moveTo(v.toDouble()); }
  QVariant maximumValue() const override { return std::max(0.0, bar()->full() - bar()->span()); }
  QVariant minimumValue() const override { return 0.0; }
  QVariant minimumStepSize() const override { return bar()->span() / 4; }
  int childCount() const override { return 0; }
  QStringList actionNames() const override { return {increaseAction(), decreaseAction()}; }
  void doAction(const QString& name) override {
    if (name == increaseAction()) bar()->increment();
    if (name == decreaseAction()) bar()->decrement();
  }
};

QAccessibleInterface* factory(const QString& key, QObject* object) {
  if (key == QLatin1String("quillon::ui::ScrollBar")) {
    if (auto* b = qobject_cast<ScrollBar*>(object)) return new ScrollBarAccessible(b);
  }
  return nullptr;
}

}  // namespace

ScrollBar::ScrollBar(Binding<double> lo, QWidget* parent) : QWidget(parent), lo_(std::move(lo)) {
  static const bool installed = (QAccessible::installFactory(factory), true);
  (void)installed;
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFixedHeight(12);
  setAccessibleName(QStringLiteral("Graph position"));
  grow_.setDuration(120);
  grow_.setEasingCurve(QEasingCurve::OutQuad);
  connect(&grow_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
    thickness_ = v.toDouble();
    update();
  });
}

void ScrollBar::setSpan(double span, double full) {
  span_ = span;
  full_ = full;
  update();
}

void ScrollBar::setFaded(bool faded) {
  if (faded_ == faded) return;
  faded_ = faded;
  update();
}

double ScrollBar::thumbWidth() const {
  return std::max(16.0, width() * span_ / std::max(full_, 0.0001));
}

double ScrollBar::travel() const {
  return std::max(1.0, width() - thumbWidth());
}

double ScrollBar::thumbX() const {
  return lo_.get() / std::max(0.0001, full_ - span_) * travel();
}

void ScrollBar::write(double lo) {
  lo_.set(lo);
  update();
  emit moved();
}

void ScrollBar::increment() {
  write(lo_.get() + span_ * 0.25);
}
void ScrollBar::decrement() {
  write(lo_.get() - span_ * 0.25);
}
void ScrollBar::moveTo(double lo) {
  write(lo);
}

void ScrollBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Down) {
    increment();
  } else if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up) {
    decrement();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void ScrollBar::setHighlighted(bool on) {
  const double target = on ? 7 : 5;
  if (grow_.endValue().toDouble() == target && grow_.state() == QAbstractAnimation::Running) {
    return;
  }
  grow_.stop();
  grow_.setStartValue(thickness_);
  grow_.setEndValue(target);
  grow_.start();
}

void ScrollBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const double x = event->position().x();
  const double tx = thumbX();
  const double tw = thumbWidth();
  pressX_ = x;
  if (x < tx || x > tx + tw) {
    dragFrom_ = (full_ - span_) * ((x - tw / 2) / travel());
  } else {
    dragFrom_ = lo_.get();
  }
  setHighlighted(true);
  write(*dragFrom_);
}

void ScrollBar::mouseMoveEvent(QMouseEvent* event) {
  if (!dragFrom_) return;
  write(*dragFrom_ + (full_ - span_) * (event->position().x() - pressX_) / travel());
}

void ScrollBar::mouseReleaseEvent(QMouseEvent* event) {
  dragFrom_.reset();
  setHighlighted(rect().contains(event->position().toPoint()));
}

void ScrollBar::enterEvent(QEnterEvent*) {
  hovering_ = true;
  setHighlighted(true);
}

void ScrollBar::leaveEvent(QEvent*) {
  hovering_ = false;
  if (!dragFrom_) setHighlighted(false);
}

void ScrollBar::paintEvent(QPaintEvent*) {
  if (faded_) return;
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const double h = thickness_;
  const double top = (height() - h) / 2;
  p.setBrush(withAlpha(pal.secondaryLabel, 0.12));
  p.drawRoundedRect(QRectF(0, top, width(), h), h / 2, h / 2);
  const bool active = hovering_ || dragFrom_.has_value();
  p.setBrush(withAlpha(pal.secondaryLabel, active ? 0.60 : 0.40));
  p.drawRoundedRect(QRectF(thumbX(), top, thumbWidth(), h), h / 2, h / 2);
}

}  // namespace quillon::ui
