#include "app/ui/kit/divider.h"

#include <QPainter>

#include "app/ui/style/theme.h"

namespace quillon::ui {

Divider::Divider(QWidget* parent) : QWidget(parent) {
  setFixedHeight(1);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Divider::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), colors().separator);
}

}  // namespace quillon::ui
