#include "app/ui/panel/panel_chrome.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "app/ui/style/theme.h"

namespace quillon::ui {

PanelChrome::PanelChrome(QWidget* content, QWidget* parent) : QWidget(parent), content_(content) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(content_);
  connect(&Appearance::instance(), &Appearance::changed, this, [this] { update(); });
}

void PanelChrome::setCompositedCorners(bool composited) {
  setAttribute(Qt::WA_TranslucentBackground, composited);
  masked_ = !composited;
  updateMask();
}

void PanelChrome::updateMask() {
  if (!masked_) {
    clearMask();
    return;
  }
  QPainterPath path;
  path.addRoundedRect(QRectF(rect()), kRadius, kRadius);
  setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void PanelChrome::resizeEvent(QResizeEvent*) {
  if (masked_) updateMask();
}

void PanelChrome::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25);
  p.setPen(QPen(withAlpha(pal.label, 0.15 / pal.label.alphaF()), 0.5));
  p.setBrush(pal.panelBackground);
  p.drawRoundedRect(r, kRadius, kRadius);
}

}  // namespace quillon::ui
