#include "app/ui/kit/push_button.h"

#include <QLinearGradient>
#include <QPainter>

#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {

PushButton::PushButton(const QString& title, ButtonLook look, QWidget* parent)
    : QAbstractButton(parent), look_(look) {
  setText(title);
  setFont(fonts::body());
  // macOS buttons take no keyboard focus: Return and Escape reach them
  // through their window.
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PushButton::setLook(ButtonLook look) {
  look_ = look;
  update();
}

void PushButton::setFaceHeight(int points) {
  faceHeight_ = points;
  updateGeometry();
}

void PushButton::setPadding(int points) {
  padding_ = points;
  updateGeometry();
}

QSize PushButton::sizeHint() const {
  const int w = qCeil(QFontMetricsF(font()).horizontalAdvance(text())) + 2 * padding_;
  // One point below the face for its shadow.
  return {std::max(w, faceHeight_ * 3), faceHeight_ + 1};
}

QSize PushButton::minimumSizeHint() const {
  return sizeHint();
}

QPainterPath PushButton::focusOutline() const {
  const double h = faceHeight_;
  return roundedOutline(QRectF(0.5, (height() - 1 - h) / 2 + 0.25, width() - 1.0, h - 0.5),
                        h > 24 ? 7 : 5);
}

void PushButton::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const double h = faceHeight_;
  const double radius = h > 24 ? 7 : 5;
  const QRectF face(0.5, (height() - 1 - h) / 2 + 0.25, width() - 1.0, h - 0.5);

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, pal.dark ? 70 : 26));
  p.drawRoundedRect(face.translated(0, 0.6), radius, radius);

  const bool primary = look_ == ButtonLook::primary && isEnabled();
  QColor textColour = !isEnabled()                       ? pal.tertiaryLabel
                      : primary                          ? QColor(255, 255, 255)
                      : look_ == ButtonLook::destructive ? pal.red
                                                         : pal.label;
  if (primary) {
    // The default button's face is lighter at the top, as AppKit draws it.
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    const QColor accent = isDown() ? pal.accent.darker(115) : pal.accent;
    g.setColorAt(0, accent.lighter(108));
    g.setColorAt(1, accent);
    p.setBrush(g);
    p.setPen(Qt::NoPen);
  } else {
    p.setBrush(isDown() ? pal.buttonFacePressed : pal.buttonFace);
    p.setPen(pal.dark ? QPen(Qt::NoPen) : QPen(pal.buttonBorder, 0.5));
  }
  p.drawRoundedRect(face, radius, radius);

  p.setFont(font());
  p.setPen(textColour);
  p.drawText(face.adjusted(0, -0.5, 0, -0.5), Qt::AlignCenter, text());
}

}  // namespace quillon::ui
