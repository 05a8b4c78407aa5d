#include "app/ui/kit/text_box.h"

#include "app/ui/kit/focus_ring.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <utility>

#include "app/ui/style/app_style.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

QString innerStyle(const Palette& pal) {
  const QColor thumb = pal.dark ? QColor(255, 255, 255, 90) : QColor(0, 0, 0, 90);
  return QStringLiteral(
             "QPlainTextEdit, QLineEdit { background: transparent; border: none; padding: 0px;"
             " color: %1; selection-background-color: %2; selection-color: %1; }"
             "QPlainTextEdit:disabled, QLineEdit:disabled { color: %3; }"
             "QScrollBar:vertical { background: transparent; width: 7px; margin: 2px 1px 2px 0px; }"
             "QScrollBar::handle:vertical { background: %4; border-radius: 3px; min-height: 20px; }"
             "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; }"
             "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
      .arg(cssColor(pal.label), cssColor(withAlpha(pal.accent, 0.35)), cssColor(pal.tertiaryLabel),
           cssColor(thumb));
}

}  // namespace

TextBox::TextBox(QWidget* inner, Frame frame, QWidget* parent)
    : QWidget(parent), inner_(inner), frame_(std::move(frame)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(frame_.margins);
  layout->addWidget(inner_);
  inner_->installEventFilter(this);
  drawsOwnFocusRing(inner_);
  restyle();
  connect(&Appearance::instance(), &Appearance::changed, this, &TextBox::restyle);
}

QPlainTextEdit* TextBox::plainEditor(QWidget* parent) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setFrameShape(QFrame::NoFrame);
  edit->setFont(fonts::body());
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  edit->viewport()->setAutoFillBackground(false);
  edit->setTabChangesFocus(true);
  return edit;
}

QLineEdit* TextBox::lineField(QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setFrame(false);
  field->setFont(fonts::body());
  field->setAttribute(Qt::WA_MacShowFocusRect, false);
  return field;
}

bool TextBox::focused() const {
  return inner_->hasFocus();
}

void TextBox::restyle() {
  inner_->setStyleSheet(innerStyle(colors()));
  update();
}

bool TextBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == inner_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut ||
                            event->type() == QEvent::EnabledChange)) {
    update();
    if (parentWidget()) parentWidget()->update();
  }
  return QWidget::eventFilter(watched, event);
}

void TextBox::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const double half = frame_.borderWidth / 2;
  const QRectF r = QRectF(rect()).adjusted(half, half, -half, -half);
  p.setBrush(frame_.filled ? pal.controlBackground : QColor(Qt::transparent));
  const QColor border = frame_.border ? frame_.border(pal) : pal.fieldBorder;
  p.setPen(frame_.borderWidth > 0 ? QPen(border, frame_.borderWidth) : QPen(Qt::NoPen));
  p.drawRoundedRect(r, frame_.radius, frame_.radius);
}

void TextBox::paintFocusRings(QWidget* container) {
  QPainter p(container);
  for (TextBox* box : container->findChildren<TextBox*>()) {
    if (!box->isVisible() || !box->focused()) continue;
    const QRectF r(box->mapTo(container, QPoint(0, 0)), QSizeF(box->size()));
    paintFocusRing(p, roundedOutline(r, box->frame_.radius));
  }
}

}  // namespace quillon::ui
