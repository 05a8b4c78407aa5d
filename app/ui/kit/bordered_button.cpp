#include "app/ui/kit/bordered_button.h"

#include <QPainter>

#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {

BorderedButton::BorderedButton(const QString& title, ControlSize size, QWidget* parent)
    : QAbstractButton(parent), size_(size) {
  setText(title);
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void BorderedButton::setSelected(bool selected) {
  if (selected_ == selected) return;
  selected_ = selected;
  updateGeometry();
  update();
}

void BorderedButton::setDimmed(double opacity) {
  opacity_ = opacity;
  update();
}

QFont BorderedButton::titleFont() const {
  const double size = size_ == ControlSize::small ? fonts::kSmallControl : fonts::kBody;
  return fonts::ui(size, selected_ ? QFont::DemiBold : QFont::Normal);
}

QSize BorderedButton::sizeHint() const {
  const bool small = size_ == ControlSize::small;
  const int h = small ? 19 : 22;
  const int pad = small ? 8 : 10;
  // Measured in semibold, so selecting a button does not change its width.
  const QFont bold = fonts::ui(small ? fonts::kSmallControl : fonts::kBody, QFont::DemiBold);
  const int w = qCeil(QFontMetricsF(bold).horizontalAdvance(text())) + 2 * pad;
  return {std::max(w, h + 4), h + 1};
}

QSize BorderedButton::minimumSizeHint() const {
  return sizeHint();
}

QPainterPath BorderedButton::focusOutline() const {
  const bool small = size_ == ControlSize::small;
  const double h = small ? 19 : 22;
  return roundedOutline(QRectF(0.5, (height() - 1 - h) / 2 + 0.25, width() - 1.0, h - 0.5),
                        small ? 4.5 : 5);
}

void BorderedButton::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setOpacity(opacity_);
  const bool small = size_ == ControlSize::small;
  const double h = small ? 19 : 22;
  const double radius = small ? 4.5 : 5;
  const QRectF face(0.5, (height() - 1 - h) / 2 + 0.25, width() - 1.0, h - 0.5);

  // Faint shadow half a point below.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, pal.dark ? 70 : 26));
  p.drawRoundedRect(face.translated(0, 0.6), radius, radius);

  QColor fill = pal.buttonFace;
  QColor textColor = isEnabled() ? pal.label : pal.tertiaryLabel;
  if (selected_) {
    fill = pal.accent;
    textColor = QColor(255, 255, 255);
  }
  if (isDown()) fill = selected_ ? fill.darker(115) : pal.buttonFacePressed;
  p.setBrush(fill);
  p.setPen(pal.dark || selected_ ? QPen(Qt::NoPen) : QPen(pal.buttonBorder, 0.5));
  p.drawRoundedRect(face, radius, radius);

  p.setFont(titleFont());
  p.setPen(textColor);
  p.drawText(face.adjusted(0, -0.5, 0, -0.5), Qt::AlignCenter, text());
}

}  // namespace quillon::ui
