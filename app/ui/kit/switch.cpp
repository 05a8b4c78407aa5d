#include "app/ui/kit/switch.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEasingCurve>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

// A check box (Qt has no switch role). Toggling clicks, as Space does, so
// that the switch's owner hears of it as of a click.
class SwitchAccessible : public QAccessibleWidget {
 public:
  explicit SwitchAccessible(Switch* w) : QAccessibleWidget(w, QAccessible::CheckBox) {}
  Switch* toggle() const { return static_cast<Switch*>(widget()); }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = toggle()->isChecked();
    return s;
  }
  QStringList actionNames() const override {
    if (!toggle()->isEnabled()) return {};
    return {toggleAction(), setFocusAction()};
  }
  void doAction(const QString& name) override {
    if (!toggle()->isEnabled()) return;
    if (name == toggleAction() || name == pressAction()) toggle()->click();
    if (name == setFocusAction()) toggle()->setFocus(Qt::OtherFocusReason);
  }
};

QAccessibleInterface* factory(const QString& key, QObject* object) {
  if (key == QLatin1String("quillon::ui::Switch")) {
    if (auto* s = qobject_cast<Switch*>(object)) return new SwitchAccessible(s);
  }
  return nullptr;
}

}  // namespace

Switch::Switch(Size size, QWidget* parent) : QAbstractButton(parent), size_(size) {
  static const bool installed = (QAccessible::installFactory(factory), true);
  (void)installed;
  setCheckable(true);
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  slide_.setDuration(150);
  slide_.setEasingCurve(QEasingCurve::OutCubic);
  connect(&slide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
    position_ = v.toDouble();
    update();
  });
}

QSize Switch::sizeHint() const {
  switch (size_) {
    case Size::mini:
      return {26, 15};
    case Size::small:
      return {32, 18};
    case Size::regular:
      return {38, 22};
  }
  return {32, 18};
}

void Switch::checkStateSet() {
  // Set from outside: no animation.
  slide_.stop();
  position_ = isChecked() ? 1 : 0;
  update();
}

void Switch::nextCheckState() {
  const double from = position_;
  QAbstractButton::nextCheckState();
  slide_.stop();
  slide_.setStartValue(from);
  slide_.setEndValue(isChecked() ? 1.0 : 0.0);
  slide_.start();
}

QPainterPath Switch::focusOutline() const {
  const QSizeF s = sizeHint();
  const QRectF track((width() - s.width()) / 2, (height() - s.height()) / 2, s.width(), s.height());
  return roundedOutline(track, track.height() / 2);
}

void Switch::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  if (!isEnabled()) p.setOpacity(0.5);
  const QSizeF s = sizeHint();
  const QRectF track((width() - s.width()) / 2, (height() - s.height()) / 2, s.width(), s.height());
  const double r = track.height() / 2;

  // The track blends from grey to the accent colour as the knob moves.
  const QColor off = pal.switchTrackOff;
  const QColor on = pal.accent;
  const double t = position_;
  const QColor fill =
      QColor::fromRgbF(static_cast<float>(off.redF() + (on.redF() - off.redF()) * t),
                       static_cast<float>(off.greenF() + (on.greenF() - off.greenF()) * t),
                       static_cast<float>(off.blueF() + (on.blueF() - off.blueF()) * t),
                       static_cast<float>(off.alphaF() + (on.alphaF() - off.alphaF()) * t));
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawRoundedRect(track, r, r);
  if (isDown()) {
    p.setBrush(QColor(0, 0, 0, 20));
    p.drawRoundedRect(track, r, r);
  }

  const double inset = 1.5;
  const double d = track.height() - 2 * inset;
  const double x = track.left() + inset + t * (track.width() - d - 2 * inset);
  const QRectF knob(x, track.top() + inset, d, d);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawEllipse(knob.translated(0, 0.5).adjusted(-0.5, -0.5, 0.5, 0.5));
  p.setBrush(QColor(255, 255, 255));
  p.setPen(QPen(QColor(0, 0, 0, 25), 0.5));
  p.drawEllipse(knob);
}

SwitchRow::SwitchRow(const QString& title, const QFont& font, bool fill, Switch::Size size,
                     QWidget* parent)
    : QWidget(parent), title_(new QLabel(title)), switch_(new Switch(size)) {
  title_->setFont(font);
  setFocusPolicy(Qt::NoFocus);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(8);
  row->addWidget(title_, 0, Qt::AlignVCenter);
  if (fill) {
    row->addStretch(1);
  } else {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  }
  row->addWidget(switch_, 0, Qt::AlignVCenter);
  // The row's title names the switch, to assistive tools too.
  title_->setBuddy(switch_);
  switch_->setAccessibleName(title);
  connect(switch_, &QAbstractButton::clicked, this, [this](bool on) { emit toggledByUser(on); });
}

void SwitchRow::setTitle(const QString& title) {
  title_->setText(title);
  switch_->setAccessibleName(title);
}
void SwitchRow::setChecked(bool on) {
  switch_->setChecked(on);
}
bool SwitchRow::isChecked() const {
  return switch_->isChecked();
}

void SwitchRow::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
}

void SwitchRow::mouseReleaseEvent(QMouseEvent* event) {
  // A click on the title or the empty part of the row toggles the switch.
  if (pressed_ && rect().contains(event->position().toPoint()) && isEnabled()) switch_->click();
  pressed_ = false;
}

void SwitchRow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) switch_->setEnabled(isEnabled());
  QWidget::changeEvent(event);
}

}  // namespace quillon::ui
