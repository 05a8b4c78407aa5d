#include "app/ui/kit/borderless_button.h"

#include "app/ui/kit/focus_ring.h"

#include <QPainter>

#include "app/ui/style/symbols.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {

BorderlessButton::BorderlessButton(QWidget* parent) : QAbstractButton(parent) {
  takeFocusByTab(this);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

BorderlessButton* BorderlessButton::symbol(const QString& name, const QString& help, double size,
                                           QWidget* parent) {
  auto* b = new BorderlessButton(parent);
  b->symbol_ = name;
  b->symbolSize_ = size;
  b->setToolTip(help);
  b->setAccessibleName(help);
  return b;
}

BorderlessButton* BorderlessButton::titled(const QString& title, const QFont& font,
                                           const QString& help, QWidget* parent) {
  auto* b = new BorderlessButton(parent);
  b->setText(title);
  b->setFont(font);
  b->setToolTip(help);
  return b;
}

QSize BorderlessButton::sizeHint() const {
  if (!symbol_.isEmpty()) {
    const int s = qCeil(symbolSize_) + 2;
    return {s, s};
  }
  const QFontMetricsF fm(font());
  return {qCeil(fm.horizontalAdvance(text())) + 2, qCeil(fm.height()) + 2};
}

QColor BorderlessButton::foreground() const {
  const Palette& pal = colors();
  if (!isEnabled()) return pal.tertiaryLabel;
  return isDown() ? pal.accent.darker(130) : pal.accent;
}

void BorderlessButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  if (!symbol_.isEmpty()) {
    symbols::paint(p, QRectF(rect()), symbol_, foreground());
    return;
  }
  p.setPen(foreground());
  p.setFont(font());
  p.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace quillon::ui
