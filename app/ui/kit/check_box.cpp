#include "app/ui/kit/check_box.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {
constexpr double kBox = 14;
constexpr double kGap = 6;
}  // namespace

CheckBox::CheckBox(const QString& title, QWidget* parent) : QAbstractButton(parent) {
  setText(title);
  setCheckable(true);
  setFont(fonts::body());
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CheckBox::sizeHint() const {
  const QFontMetricsF fm(font());
  return {qCeil(kBox + kGap + fm.horizontalAdvance(text())) + 1,
          qCeil(std::max(kBox + 2, fm.height()))};
}

QPainterPath CheckBox::focusOutline() const {
  return roundedOutline(QRectF(0.5, (height() - kBox) / 2, kBox, kBox), 3);
}

void CheckBox::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF box(0.5, (height() - kBox) / 2, kBox, kBox);
  if (isChecked()) {
    p.setPen(Qt::NoPen);
    p.setBrush(isDown() ? pal.accent.darker(115) : pal.accent);
    p.drawRoundedRect(box, 3, 3);
    QPainterPath tick;
    tick.moveTo(box.left() + 3.5, box.center().y() + 0.2);
    tick.lineTo(box.left() + 6, box.bottom() - 3.6);
    tick.lineTo(box.right() - 3.2, box.top() + 3.6);
    p.setPen(QPen(QColor(255, 255, 255), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
  } else {
    p.setBrush(isDown() ? pal.buttonFacePressed : pal.controlBackground);
    p.setPen(QPen(pal.dark ? QColor(255, 255, 255, 60) : pal.buttonBorder, 0.5));
    p.drawRoundedRect(box.adjusted(0.25, 0.25, -0.25, -0.25), 3, 3);
  }
  p.setPen(isEnabled() ? pal.label : pal.tertiaryLabel);
  p.setFont(font());
  p.drawText(QRectF(kBox + kGap, 0, width() - kBox - kGap, height()),
             Qt::AlignLeft | Qt::AlignVCenter, text());
}

}  // namespace quillon::ui
