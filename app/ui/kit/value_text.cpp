#include "app/ui/kit/value_text.h"

#include <QPainter>

#include "app/ui/kit/value_rules.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/tabular_text.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {

ValueText::ValueText(QString format, std::function<double()> value, QWidget* parent)
    : QWidget(parent), format_(std::move(format)), value_(std::move(value)) {
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QString ValueText::text() const {
  return textFor(value_());
}

QString ValueText::textFor(double v) const {
  return formatValue(format_, v);
}

QSize ValueText::sizeHint() const {
  // Wide enough for the range's widest text would be nicer, but the row
  // right-aligns the value, so a growing width only moves its left edge.
  return {qCeil(tabularWidth(fonts::body(), text())) + 1, QFontMetrics(fonts::body()).height() + 2};
}

void ValueText::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(isEnabled() ? colors().secondaryLabel : colors().tertiaryLabel);
  const QFont f = fonts::body();
  const QFontMetricsF fm(f);
  const QString s = text();
  drawTabular(p, QPointF(width() - tabularWidth(f, s), (height() - fm.height()) / 2 + fm.ascent()),
              f, s);
}

}  // namespace quillon::ui
