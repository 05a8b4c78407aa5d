#include "app/ui/kit/editable_number.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "app/ui/kit/end_number_editing.h"
#include "app/ui/kit/focus_ring.h"
#include "app/ui/style/app_style.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/tabular_text.h"

namespace quillon::ui {
namespace {

const char* kHelp = "Click to type a value";

// The number as a text field holding a value: named by its owner, its
// value as drawn.
class NumberAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit NumberAccessible(EditableNumber* w) : QAccessibleWidget(w, QAccessible::EditableText) {}
  EditableNumber* number() const { return static_cast<EditableNumber*>(widget()); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return number()->displayText();
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = true;
    return s;
  }
  int childCount() const override { return 0; }
  QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
  void doAction(const QString& name) override {
    if (!number()->isEnabled()) return;
    if (name == pressAction()) number()->beginEditing();
    if (name == setFocusAction()) number()->setFocus(Qt::OtherFocusReason);
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QVariant currentValue() const override { return number()->value(); }
  void setCurrentValue(const QVariant& v) override {
    if (number()->isEnabled()) number()->assign(v.toDouble());
  }
  QVariant maximumValue() const override { return number()->range().upper; }
  QVariant minimumValue() const override { return number()->range().lower; }
  QVariant minimumStepSize() const override { return std::pow(10.0, -number()->decimals()); }
};

QAccessibleInterface* factory(const QString& key, QObject* object) {
  if (key == QLatin1String("quillon::ui::EditableNumber")) {
    if (auto* n = qobject_cast<EditableNumber*>(object)) return new NumberAccessible(n);
  }
  return nullptr;
}

// Keys that start editing with themselves as the text.
bool startsNumber(const QString& text) {
  return text.size() == 1 &&
         (text[0].isDigit() || text[0] == u'.' || text[0] == u',' || text[0] == u'-');
}

}  // namespace

EditableNumber::EditableNumber(Binding<double> value, ValueRange range, int decimals,
                               QString suffix, std::optional<Term> tint, QWidget* parent)
    : QWidget(parent),
      value_(std::move(value)),
      range_(range),
      decimals_(decimals),
      suffix_(std::move(suffix)),
      tint_(tint),
      field_(new QLineEdit(this)) {
  static const bool installed = (QAccessible::installFactory(factory), true);
  (void)installed;
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setToolTip(QString::fromUtf8(kHelp));
  field_->setFont(fonts::body());
  field_->setFrame(false);
  field_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  field_->setAttribute(Qt::WA_MacShowFocusRect, false);
  field_->setContextMenuPolicy(Qt::NoContextMenu);
  drawsOwnFocusRing(field_);
  field_->hide();
  field_->installEventFilter(this);
  connect(field_, &QLineEdit::returnPressed, this, &EditableNumber::commit);
  connect(&EndNumberEditing::center(), &EndNumberEditing::posted, this,
          &EditableNumber::onNotification);
  connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
          &EditableNumber::onFocusWindowChanged);
}

QString EditableNumber::shown() const {
  return QString::asprintf("%.*f", decimals_, value_.get());
}

QString EditableNumber::textFor(double v) const {
  return QString::asprintf("%.*f", decimals_, v) + suffix_;
}

void EditableNumber::assign(double v) {
  const auto written = committedValue(QString::number(v, 'f', decimals_), range_, decimals_);
  if (!written) return;
  value_.set(*written);
  update();
  emit committed(*written);
}

QString EditableNumber::text() const {
  return field_->text();
}

QColor EditableNumber::textColor() const {
  if (!isEnabled()) return colors().tertiaryLabel;
  return tint_ ? termTextColor(*tint_) : colors().secondaryLabel;
}

QSize EditableNumber::sizeHint() const {
  const int h = QFontMetrics(fonts::body()).height() + 2;
  if (editing_) return {kFieldWidth, h};
  return {qCeil(tabularWidth(fonts::body(), displayText())) + 1, h};
}

void EditableNumber::beginEditing(const QString& typed) {
  if (editing_) return;
  byKeyboard_ = hasFocus();
  const Palette& pal = colors();
  field_->setStyleSheet(QStringLiteral("QLineEdit { border: none; background: transparent;"
                                       " padding: 0px; color: %1;"
                                       " selection-background-color: %2; selection-color: %3; }")
                            .arg(cssColor(pal.secondaryLabel),
                                 cssColor(withAlpha(pal.accent, 0.35)), cssColor(pal.label)));
  field_->setText(typed.isEmpty() ? shown() : typed);
  field_->setAccessibleName(accessibleName());
  startedAt_.start();
  editing_ = true;
  setToolTip(QString());
  updateGeometry();
  field_->setGeometry(rect());
  field_->show();
  field_->setFocus(Qt::MouseFocusReason);
  // Selected on the next turn, as the focus change itself moves the cursor.
  if (typed.isEmpty()) QTimer::singleShot(0, field_, [f = field_] { f->selectAll(); });
  update();
  emit editingChanged(true);
}

void EditableNumber::endEditing() {
  editing_ = false;
  const bool hadFocus = field_->hasFocus();
  // Begun from the keyboard, the focus comes back to the number; begun by
  // a click, nothing keeps it. Before the field hides: a hidden focused
  // field would hand the focus on to the next control.
  if (hadFocus && byKeyboard_) setFocus(Qt::OtherFocusReason);
  if (hadFocus && !byKeyboard_) field_->clearFocus();
  field_->hide();
  setToolTip(QString::fromUtf8(kHelp));
  updateGeometry();
  update();
  emit editingChanged(false);
}

void EditableNumber::commit() {
  if (!editing_) return;
  const QString typed = field_->text();
  endEditing();
  if (const auto v = committedValue(typed, range_, decimals_)) {
    value_.set(*v);
    update();
    emit committed(*v);
  }
}

void EditableNumber::cancel() {
  if (editing_) endEditing();
}

void EditableNumber::onNotification() {
  if (editing_ && startedAt_.elapsed() > kNotificationGuardMs) commit();
}

void EditableNumber::onFocusWindowChanged(QWindow* now) {
  if (!editing_) return;
  const QWidget* top = window();
  if (top->windowHandle() != nullptr && now != top->windowHandle()) commit();
}

bool EditableNumber::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_) {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Escape) {
        cancel();
        return true;
      }
      // Taken here: the field would pass the key on to this widget.
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        commit();
        return true;
      }
    }
    if (event->type() == QEvent::FocusOut) commit();
  }
  return QWidget::eventFilter(watched, event);
}

void EditableNumber::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !editing_) beginEditing();
}

void EditableNumber::keyPressEvent(QKeyEvent* event) {
  if (editing_) return QWidget::keyPressEvent(event);
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    beginEditing();
  } else if (startsNumber(event->text())) {
    beginEditing(event->text());
  } else {
    QWidget::keyPressEvent(event);
  }
}

void EditableNumber::resizeEvent(QResizeEvent*) {
  field_->setGeometry(rect());
}

void EditableNumber::paintEvent(QPaintEvent*) {
  if (editing_) return;
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(textColor());
  const QFont f = fonts::body();
  const QFontMetricsF fm(f);
  const QString s = displayText();
  const double x = width() - tabularWidth(f, s);
  const double baseline = (height() - fm.height()) / 2 + fm.ascent();
  drawTabular(p, QPointF(x, baseline), f, s);
}

}  // namespace quillon::ui
