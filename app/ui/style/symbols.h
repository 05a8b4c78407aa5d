#pragma once

// The app's symbols: a small SVG set of its own, named like the system
// symbols they stand for ("hand.point.up.left", "plus.magnifyingglass",
// "3.circle", ...), bundled as Qt resources. Each is drawn in one tint, as
// macOS draws template images; white details (the tick of
// "checkmark.circle.fill") stay white.

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

namespace quillon::ui::symbols {

bool exists(const QString& name);

// The symbol at size × size points, rendered for the device pixel ratio.
// Unknown names give a null pixmap.
QPixmap pixmap(const QString& name, double size, const QColor& tint, double dpr);

// Draws the symbol into rect (square, centred), for the painter's device.
void paint(QPainter& painter, const QRectF& rect, const QString& name, const QColor& tint);

}  // namespace quillon::ui::symbols
