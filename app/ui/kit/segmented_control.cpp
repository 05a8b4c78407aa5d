#include "app/ui/kit/segmented_control.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <vector>

#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {
constexpr int kHeight = 22;
constexpr double kInset = 2;

// One segment: a radio button, checked when chosen, pressed to choose it.
// Registered by the control's interface; deleted with the control.
class SegmentAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  SegmentAccessible(SegmentedControl* control, int index) : control_(control), index_(index) {}

  bool isValid() const override { return control_ && index_ < control_->count(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return parent() ? parent()->window() : nullptr; }
  QAccessibleInterface* parent() const override {
    return control_ ? QAccessible::queryAccessibleInterface(control_) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessible::Role role() const override { return QAccessible::RadioButton; }
  QString text(QAccessible::Text t) const override {
    if (!control_) return {};
    if (t == QAccessible::Name) return control_->segments().value(index_);
    if (t == QAccessible::Description) return control_->accessibleName();
    return {};
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!control_) return {};
    const QRect r = control_->segmentRect(index_);
    return {control_->mapToGlobal(r.topLeft()), r.size()};
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!control_) {
      s.invalid = true;
      return s;
    }
    s.checkable = true;
    s.checked = control_->currentIndex() == index_;
    s.selected = s.checked;
    s.disabled = !control_->isEnabled();
    s.invisible = !control_->isVisible();
    s.focusable = true;
    s.focused = control_->hasFocus() && s.checked;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                             : nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
  void doAction(const QString& name) override {
    if (name == pressAction() && control_ && control_->isEnabled()) control_->choose(index_);
  }

 private:
  QPointer<SegmentedControl> control_;
  int index_;
};

// The control: a group, named by the widget's accessible name ("Device"),
// its value the chosen segment's title.
class SegmentedAccessible : public QAccessibleWidget {
 public:
  explicit SegmentedAccessible(SegmentedControl* w) : QAccessibleWidget(w, QAccessible::Grouping) {
    for (int i = 0; i < w->count(); ++i) {
      ids_.push_back(QAccessible::registerAccessibleInterface(new SegmentAccessible(w, i)));
    }
    // Not from this interface's destructor: at exit Qt deletes the cached
    // interfaces in no particular order.
    QObject::connect(w, &QObject::destroyed, [ids = ids_] {
      for (QAccessible::Id id : ids) {
        if (QAccessible::accessibleInterface(id)) QAccessible::deleteAccessibleInterface(id);
      }
    });
  }
  SegmentedControl* control() const { return static_cast<SegmentedControl*>(widget()); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return control()->segments().value(control()->currentIndex());
    return QAccessibleWidget::text(t);
  }
  int childCount() const override { return static_cast<int>(ids_.size()); }
  QAccessibleInterface* child(int i) const override {
    return i >= 0 && i < childCount()
               ? QAccessible::accessibleInterface(ids_[static_cast<size_t>(i)])
               : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* c) const override {
    for (size_t i = 0; i < ids_.size(); ++i) {
      if (QAccessible::accessibleInterface(ids_[i]) == c) return static_cast<int>(i);
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0; i < childCount(); ++i) {
      if (child(i)->rect().contains(x, y)) return child(i);
    }
    return nullptr;
  }

 private:
  std::vector<QAccessible::Id> ids_;
};

QAccessibleInterface* factory(const QString& key, QObject* object) {
  if (key == QLatin1String("quillon::ui::SegmentedControl")) {
    if (auto* s = qobject_cast<SegmentedControl*>(object)) return new SegmentedAccessible(s);
  }
  return nullptr;
}

}  // namespace

SegmentedControl::SegmentedControl(QStringList segments, QWidget* parent)
    : QWidget(parent), segments_(std::move(segments)) {
  static const bool installed = (QAccessible::installFactory(factory), true);
  (void)installed;
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFont(fonts::body());
}

void SegmentedControl::setCurrentIndex(int index) {
  if (index < 0 || index >= count() || index == current_) return;
  current_ = index;
  update();
}

void SegmentedControl::choose(int index) {
  if (index < 0 || index >= count() || !isEnabled()) return;
  current_ = index;
  update();
  QAccessibleValueChangeEvent changed(this, segments_[index]);
  QAccessible::updateAccessibility(&changed);
  emit activated(index);
}

QPainterPath SegmentedControl::focusOutline() const {
  return roundedOutline(QRectF(0, (height() - kHeight) / 2.0, width(), kHeight), 6);
}

void SegmentedControl::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      if (current_ > 0) choose(current_ - 1);
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      if (current_ + 1 < count()) choose(current_ + 1);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

QSize SegmentedControl::sizeHint() const {
  const QFontMetricsF fm(fonts::body(QFont::DemiBold));
  double widest = 0;
  for (const QString& s : segments_) widest = std::max(widest, fm.horizontalAdvance(s));
  return {qCeil((widest + 24) * count()), kHeight};
}

QSize SegmentedControl::minimumSizeHint() const {
  return sizeHint();
}

QRect SegmentedControl::segmentRect(int index) const {
  const double w = static_cast<double>(width()) / std::max(1, count());
  return QRectF(index * w, 0, w, height()).toRect();
}

int SegmentedControl::indexAt(QPointF p) const {
  if (!rect().contains(p.toPoint()) || count() == 0) return -1;
  const double w = static_cast<double>(width()) / count();
  return std::clamp(static_cast<int>(p.x() / w), 0, count() - 1);
}

void SegmentedControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = indexAt(event->position());
  update();
}

void SegmentedControl::mouseReleaseEvent(QMouseEvent* event) {
  const int at = indexAt(event->position());
  const int was = pressed_;
  pressed_ = -1;
  if (at >= 0 && at == was && isEnabled()) choose(at);
  update();
}

void SegmentedControl::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF track(0, (height() - kHeight) / 2.0, width(), kHeight);
  p.setPen(Qt::NoPen);
  p.setBrush(pal.segmentTrack);
  p.drawRoundedRect(track, 6, 6);

  const double w = track.width() / std::max(1, count());
  // Hairline separators between two unselected segments.
  p.setPen(QPen(withAlpha(pal.secondaryLabel, 0.35), 1));
  for (int i = 1; i < count(); ++i) {
    if (i == current_ || i - 1 == current_) continue;
    const double x = std::round(track.left() + i * w) + 0.5;
    p.drawLine(QPointF(x, track.top() + 5), QPointF(x, track.bottom() - 5));
  }

  for (int i = 0; i < count(); ++i) {
    const QRectF seg(track.left() + i * w, track.top(), w, track.height());
    if (i == current_) {
      const QRectF knob = seg.adjusted(kInset, kInset, -kInset, -kInset);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0, 0, 0, pal.dark ? 60 : 30));
      p.drawRoundedRect(knob.translated(0, 0.5).adjusted(-0.5, -0.25, 0.5, 0.5), 5, 5);
      p.setBrush(pal.segmentSelected);
      p.drawRoundedRect(knob, 5, 5);
    } else if (i == pressed_) {
      p.setPen(Qt::NoPen);
      p.setBrush(withAlpha(pal.label, 0.06));
      p.drawRoundedRect(seg.adjusted(kInset, kInset, -kInset, -kInset), 5, 5);
    }
    p.setPen(isEnabled() ? pal.label : pal.tertiaryLabel);
    p.setFont(fonts::body());
    p.drawText(seg.adjusted(0, -0.5, 0, -0.5), Qt::AlignCenter, segments_[i]);
  }
}

}  // namespace quillon::ui
