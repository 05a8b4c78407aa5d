#include "app/ui/kit/stepper.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

// An incrementor: its owner's name, the value it steps, two actions.
class StepperAccessible : public QAccessibleWidget {
 public:
  explicit StepperAccessible(Stepper* w) : QAccessibleWidget(w, QAccessible::SpinBox) {}
  Stepper* stepper() const { return static_cast<Stepper*>(widget()); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return stepper()->valueText();
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override {
    return {increaseAction(), decreaseAction(), setFocusAction()};
  }
  void doAction(const QString& name) override {
    if (!stepper()->isEnabled()) return;
    if (name == increaseAction()) emit stepper()->stepUp();
    if (name == decreaseAction()) emit stepper()->stepDown();
    if (name == setFocusAction()) stepper()->setFocus(Qt::OtherFocusReason);
  }
};

QAccessibleInterface* factory(const QString& key, QObject* object) {
  if (key == QLatin1String("quillon::ui::Stepper")) {
    if (auto* s = qobject_cast<Stepper*>(object)) return new StepperAccessible(s);
  }
  return nullptr;
}

}  // namespace

Stepper::Stepper(QWidget* parent) : QWidget(parent) {
  static const bool installed = (QAccessible::installFactory(factory), true);
  (void)installed;
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  connect(&repeat_, &QTimer::timeout, this, [this] {
    repeat_.setInterval(80);
    fire();
  });
}

void Stepper::fire() {
  if (pressed_ == Half::up) emit stepUp();
  if (pressed_ == Half::down) emit stepDown();
}

void Stepper::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = event->position().y() < height() / 2.0 ? Half::up : Half::down;
  update();
  fire();
  repeat_.start(400);
}

void Stepper::mouseReleaseEvent(QMouseEvent*) {
  pressed_ = Half::none;
  repeat_.stop();
  update();
}

void Stepper::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    emit stepUp();
  } else if (event->key() == Qt::Key_Down) {
    emit stepDown();
  } else {
    QWidget::keyPressEvent(event);
  }
}

QPainterPath Stepper::focusOutline() const {
  return roundedOutline(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -1.25), 4);
}

void Stepper::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.75, 0.75, -0.75, -1.25);
  const double radius = 4;

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, pal.dark ? 60 : 22));
  p.drawRoundedRect(r.translated(0, 0.5), radius, radius);
  p.setBrush(pal.buttonFace);
  p.setPen(pal.dark ? QPen(Qt::NoPen) : QPen(pal.buttonBorder, 0.5));
  p.drawRoundedRect(r, radius, radius);

  if (pressed_ != Half::none) {
    QPainterPath clip;
    clip.addRoundedRect(r, radius, radius);
    p.save();
    p.setClipPath(clip);
    const QRectF half = pressed_ == Half::up
                            ? QRectF(r.left(), r.top(), r.width(), r.height() / 2)
                            : QRectF(r.left(), r.center().y(), r.width(), r.height() / 2);
    p.fillRect(half, pal.buttonFacePressed);
    p.restore();
  }

  // Two small solid arrows.
  const QColor arrow = isEnabled() ? pal.label : pal.tertiaryLabel;
  p.setPen(Qt::NoPen);
  p.setBrush(arrow);
  const double cx = r.center().x();
  const double cy = r.center().y();
  const double w = 3.0;
  const double h = 2.6;
  QPolygonF up{{cx - w, cy - 2.5}, {cx + w, cy - 2.5}, {cx, cy - 2.5 - h * 1.25}};
  QPolygonF down{{cx - w, cy + 2.5}, {cx + w, cy + 2.5}, {cx, cy + 2.5 + h * 1.25}};
  p.drawPolygon(up);
  p.drawPolygon(down);
}

}  // namespace quillon::ui
