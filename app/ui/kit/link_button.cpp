#include "app/ui/kit/link_button.h"

#include "app/ui/kit/focus_ring.h"

#include <QPainter>

#include "app/ui/style/theme.h"

namespace quillon::ui {

LinkButton::LinkButton(const QString& title, const QFont& font, QWidget* parent)
    : QAbstractButton(parent) {
  setText(title);
  setFont(font);
  takeFocusByTab(this);
  setCursor(Qt::PointingHandCursor);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize LinkButton::sizeHint() const {
  const QFontMetricsF fm(font());
  return {qCeil(fm.horizontalAdvance(text())) + 1, qCeil(fm.height()) + 2};
}

void LinkButton::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  QColor c = isEnabled() ? pal.accent : pal.tertiaryLabel;
  if (isDown()) c = c.darker(130);
  p.setPen(c);
  p.setFont(font());
  p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, text());
}

}  // namespace quillon::ui
