#include "app/ui/kit/plain_slider.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

// One accessibility element labelled with the title, its value read as the
// label beside it reads. QAccessibleWidget is its own action interface.
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit SliderAccessible(PlainSlider* w) : QAccessibleWidget(w, QAccessible::Slider) {}

  PlainSlider* slider() const { return static_cast<PlainSlider*>(widget()); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return slider()->title();
    if (t == QAccessible::Value) return slider()->valueText();
    return QAccessibleWidget::text(t);
  }
  int childCount() const override { return 0; }
  QStringList actionNames() const override {
    return {increaseAction(), decreaseAction(), setFocusAction()};
  }
  void doAction(const QString& name) override {
    if (!slider()->isEnabled()) return;
    if (name == increaseAction()) slider()->increment();
    if (name == decreaseAction()) slider()->decrement();
    if (name == setFocusAction()) slider()->setFocus(Qt::OtherFocusReason);
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QVariant currentValue() const override { return slider()->value(); }
  void setCurrentValue(const QVariant& v) override {
    if (slider()->isEnabled()) slider()->assign(v.toDouble());
  }
  QVariant maximumValue() const override { return slider()->range().upper; }
  QVariant minimumValue() const override { return slider()->range().lower; }
  QVariant minimumStepSize() const override { return slider()->step(); }
};

QAccessibleInterface* sliderFactory(const QString& key, QObject* object) {
  if (key == QLatin1String("quillon::ui::PlainSlider")) {
    if (auto* s = qobject_cast<PlainSlider*>(object)) return new SliderAccessible(s);
  }
  return nullptr;
}

void capsule(QPainter& p, QRectF r, const QColor& c) {
  if (r.width() <= 0) return;
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
}

}  // namespace

PlainSlider::PlainSlider(QString title, Binding<double> value, ValueRange range, double step,
                         QWidget* parent)
    : QWidget(parent),
      title_(std::move(title)),
      value_(std::move(value)),
      range_(range),
      step_(step) {
  static const bool installed = (QAccessible::installFactory(sliderFactory), true);
  (void)installed;
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAccessibleName(title_);
}

void PlainSlider::setKnob(double diameter) {
  knob_ = diameter;
  updateGeometry();
  update();
}

QSize PlainSlider::sizeHint() const {
  return {200, qRound(knob_ + 4)};
}
QSize PlainSlider::minimumSizeHint() const {
  return {qRound(knob_ * 2), qRound(knob_ + 4)};
}

QString PlainSlider::valueText() const {
  const double v = value_.get();
  return valueText_ ? valueText_(v) : QString::asprintf("%g", v);
}

void PlainSlider::write(double v) {
  if (v == value_.get()) return;
  value_.set(v);
  update();
  QAccessibleValueChangeEvent changed(this, v);
  QAccessible::updateAccessibility(&changed);
  emit edited(v);
}

void PlainSlider::assign(double v) {
  write(snap(v));
}

void PlainSlider::increment() {
  write(snap(value_.get() + step_));
}
void PlainSlider::decrement() {
  write(snap(value_.get() - step_));
}

void PlainSlider::dragTo(double x) {
  const double travel = width() - knob_;
  const double f = std::clamp((x - knob_ / 2) / std::max(travel, 1.0), 0.0, 1.0);
  write(snap(range_.lower + f * (range_.upper - range_.lower)));
}

void PlainSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (!dragging_) {
    dragging_ = true;
    emit dragStarted();
  }
  dragTo(event->position().x());
}

void PlainSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) endDrag();
}

void PlainSlider::hideEvent(QHideEvent*) {
  // A slider taken away mid-drag gets no release.
  endDrag();
}

void PlainSlider::endDrag() {
  if (!dragging_) return;
  dragging_ = false;
  emit dragEnded();
}

void PlainSlider::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) dragTo(event->position().x());
}

void PlainSlider::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
      increment();
      break;
    case Qt::Key_Left:
    case Qt::Key_Down:
      decrement();
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

QRectF PlainSlider::knobRect() const {
  const double span = range_.upper - range_.lower;
  const double f = span > 0 ? std::clamp((value_.get() - range_.lower) / span, 0.0, 1.0) : 0.0;
  const double travel = width() - knob_;
  return {f * travel, height() / 2.0 - knob_ / 2, knob_, knob_};
}

QPainterPath PlainSlider::focusOutline() const {
  QPainterPath path;
  path.addEllipse(knobRect());
  return path;
}

void PlainSlider::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF knob = knobRect();
  const double travel = width() - knob_;
  const double knobX = knob.left();
  const double trackTop = height() / 2.0 - 2;

  capsule(p, QRectF(knob_ / 2, trackTop, travel, 4), withAlpha(pal.secondaryLabel, 0.35));
  capsule(p, QRectF(knob_ / 2, trackTop, knobX, 4), isEnabled() ? pal.accent : pal.gray);

  // Soft shadow: black at 0.35, radius 1.5, half a point down.
  p.setPen(Qt::NoPen);
  for (int i = 3; i >= 1; --i) {
    const double grow = 1.5 * i / 3.0;
    p.setBrush(QColor(0, 0, 0, qRound(0.35 * 255 / 4.5)));
    p.drawEllipse(knob.translated(0, 0.5).adjusted(-grow, -grow, grow, grow));
  }
  p.setBrush(QColor(0xFFFFFF));
  p.setPen(QPen(QColor(0, 0, 0, qRound(0.15 * 255)), 0.5));
  p.drawEllipse(knob.adjusted(0.25, 0.25, -0.25, -0.25));
}

}  // namespace quillon::ui
