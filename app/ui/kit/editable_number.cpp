#include "app/ui/kit/editable_number.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include "app/ui/kit/end_number_editing.h"
#include "app/ui/style/app_style.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/tabular_text.h"

namespace quillon::ui {
namespace {

const char* kHelp = "Click to type a value";

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
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setToolTip(QString::fromUtf8(kHelp));
  field_->setFont(fonts::body());
  field_->setFrame(false);
  field_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  field_->setAttribute(Qt::WA_MacShowFocusRect, false);
  field_->setContextMenuPolicy(Qt::NoContextMenu);
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

QString EditableNumber::text() const {
  return field_->text();
}

QColor EditableNumber::textColor() const {
  if (!isEnabled()) return colors().tertiaryLabel;
  return tint_ ? termColor(*tint_) : colors().secondaryLabel;
}

QSize EditableNumber::sizeHint() const {
  const int h = QFontMetrics(fonts::body()).height() + 2;
  if (editing_) return {kFieldWidth, h};
  return {qCeil(tabularWidth(fonts::body(), displayText())) + 1, h};
}

void EditableNumber::beginEditing() {
  if (editing_) return;
  const Palette& pal = colors();
  field_->setStyleSheet(QStringLiteral("QLineEdit { border: none; background: transparent;"
                                       " padding: 0px; color: %1;"
                                       " selection-background-color: %2; selection-color: %3; }")
                            .arg(cssColor(pal.secondaryLabel),
                                 cssColor(withAlpha(pal.accent, 0.35)), cssColor(pal.label)));
  field_->setText(shown());
  startedAt_.start();
  editing_ = true;
  setToolTip(QString());
  updateGeometry();
  field_->setGeometry(rect());
  field_->show();
  field_->setFocus(Qt::MouseFocusReason);
  // Selected on the next turn, as the focus change itself moves the cursor.
  QTimer::singleShot(0, field_, [f = field_] { f->selectAll(); });
  update();
  emit editingChanged(true);
}

void EditableNumber::endEditing() {
  editing_ = false;
  // Focus off first: hiding a focused field hands the focus on to the next
  // control that takes Tab focus.
  if (field_->hasFocus()) field_->clearFocus();
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
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      cancel();
      return true;
    }
    if (event->type() == QEvent::FocusOut) commit();
  }
  return QWidget::eventFilter(watched, event);
}

void EditableNumber::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !editing_) beginEditing();
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
