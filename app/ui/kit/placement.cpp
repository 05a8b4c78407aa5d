#include "app/ui/kit/placement.h"

#include <algorithm>
#include <cmath>

namespace quillon::ui::placement {
namespace {

constexpr double kPanelBottomGap = 8;

}  // namespace

QRectF toAppKit(const QRectF& qt, double primaryHeight) {
  return {qt.x(), primaryHeight - qt.y() - qt.height(), qt.width(), qt.height()};
}

QRectF fromAppKit(const QRectF& appKit, double primaryHeight) {
  return {appKit.x(), primaryHeight - appKit.y() - appKit.height(), appKit.width(),
          appKit.height()};
}

QRectF visibleFrame(const QRectF& screen, double menuBarHeight) {
  return screen.adjusted(0, menuBarHeight, 0, 0);
}

QPointF panelTopLeft(const QRectF& button, const QRectF& vf, QSizeF panel) {
  double x = button.left();
  if (x <= vf.left() + 8) x = vf.left() + 8;
  x = std::min(x, vf.right() - panel.width() - 8);
  // AppKit: top = the button's minY − 3, y pointing up; here the button's
  // bottom edge is its larger y.
  return {x, button.bottom() + 3};
}

QSizeF panelSize(QPointF topLeft, QSizeF content, const QRectF& vf) {
  if (vf.isEmpty()) return content;
  const double room = std::max(0.0, vf.bottom() - kPanelBottomGap - topLeft.y());
  return {content.width(), std::min(content.height(), room)};
}

bool sizeChangeMoves(QSizeF current, QSizeF next) {
  if (!(next.width() > 0) || !(next.height() > 0)) return false;
  return std::abs(next.height() - current.height()) > 0.5 ||
         std::abs(next.width() - current.width()) > 0.5;
}

QPointF steppedOutTopLeft(const QRectF& panel, const QRectF& window) {
  return {std::max(12.0, panel.left() - 12 - window.width()), window.top()};
}

QPointF sideWindowTopLeft(const QRectF& vf, QSizeF window, bool centred,
                          std::optional<QRectF> panel) {
  if (centred) {
    // AppKit: origin.y = midY − h/2 + 8 % of the height, measured upwards.
    const double bottomUp = vf.height() / 2 - window.height() / 2 + vf.height() * 0.08;
    const double top = vf.bottom() - bottomUp - window.height();
    return {vf.center().x() - window.width() * 0.5, top};
  }
  const double edge = panel ? panel->left() : vf.right();
  return {std::max(vf.left() + 12, edge - 12 - window.width()), vf.top() + 8};
}

}  // namespace quillon::ui::placement
