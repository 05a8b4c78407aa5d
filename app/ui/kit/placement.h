#pragma once

// Window placement in Qt's screen space (y down, origin at the top left of
// the primary screen). macOS states these rules in AppKit's space, whose y
// axis points up from the primary screen's bottom edge; they are written
// here once, in Qt's terms. toAppKit / fromAppKit convert for the macOS
// adapters.
//
// vf is always a visible frame: the screen without the menu bar.

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

namespace quillon::ui::placement {

// AppKit <-> Qt, for a rectangle; primaryHeight is the primary screen's
// height in points. The conversion is its own inverse.
QRectF toAppKit(const QRectF& qt, double primaryHeight);
QRectF fromAppKit(const QRectF& appKit, double primaryHeight);

// The visible frame of a screen whose top menuBarHeight points hold the
// menu bar.
QRectF visibleFrame(const QRectF& screen, double menuBarHeight);

// The panel's top-left corner below the status item's button: its left
// edge at the button's, kept 8 points inside vf on both sides; its top 3
// points below the button.
QPointF panelTopLeft(const QRectF& button, const QRectF& vf, QSizeF panel);

// The panel's frame for a size, growing down from a fixed top-left corner.
inline QRectF panelFrame(QPointF topLeft, QSizeF size) {
  return {topLeft, size};
}

// The panel's size on screen: its content's, but its bottom edge stays 8
// points above vf's; what does not fit scrolls. An empty vf (no screen)
// limits nothing.
QSizeF panelSize(QPointF topLeft, QSizeF content, const QRectF& vf);

// Whether a new content size moves the window: only a change of more than
// half a point in width or height does; empty sizes never do.
bool sizeChangeMoves(QSizeF current, QSizeF next);

// A side window overlapping the opening panel steps out to its left, 12
// points away (never closer than 12 to the screen's left edge), keeping its
// top.
QPointF steppedOutTopLeft(const QRectF& panel, const QRectF& window);

// Where a side window appears: centred (8 % of the visible height above
// the middle) or standing to the left of the open panel (else of vf's
// right edge), 12 points away, 8 points below the menu bar.
QPointF sideWindowTopLeft(const QRectF& vf, QSizeF window, bool centred,
                          std::optional<QRectF> panel);

}  // namespace quillon::ui::placement
