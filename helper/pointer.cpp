#include "helper/pointer.h"

#include <cmath>
#include <mutex>

#include "helper/plane.h"

namespace quillon {

namespace {

namespace field = platform::field;

// Farther than this between where the system assumed the pointer was and
// where the helper left it, something else (another program, a warp by the
// system) moved it: start from the event's own location.
constexpr double kForeignMovePts = 40;

bool isFinite(Point p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

}  // namespace

void followEventLocation(HelperState& state, platform::EventRef event) {
  const Point location = state.system.taps.location(event);
  if (isFinite(location)) state.main.cur = location;
}

void movePointer(HelperState& state, platform::EventRef event, double dx, double dy) {
  Rect bounds;
  {
    std::lock_guard guard(state.lock);
    bounds = state.shared.display.bounds;
  }
  movePointer(state, event, dx, dy, bounds);
}

void movePointer(HelperState& state, platform::EventRef event, double dx, double dy,
                 const Rect& displayBounds) {
  // Only an extreme curve yields a non-finite step; there is no direction
  // to go in, so the pointer stays where it is.
  if (!std::isfinite(dx) || !std::isfinite(dy)) dx = dy = 0;
  const double length = planeLength(dx, dy);
  if (length > kMaxStep) {
    dx *= kMaxStep / length;
    dy *= kMaxStep / length;
  }

  platform::EventTaps& taps = state.system.taps;
  const double ex = static_cast<double>(taps.integerField(event, field::kMouseEventDeltaX));
  const double ey = static_cast<double>(taps.integerField(event, field::kMouseEventDeltaY));
  const Point location = taps.location(event);

  std::optional<Point>& cur = state.main.cur;
  Point base;
  if (!isFinite(location)) {
    // A location that means nothing must not become the pointer position.
    // Without a position of our own there is nothing to move from: the
    // event passes as the system made it.
    if (!cur) return;
    base = *cur;
  } else if (!cur ||
             planeLength(location.x - ex - cur->x, location.y - ey - cur->y) > kForeignMovePts) {
    base = location;
    cur = location;
  } else {
    base = *cur;
  }

  Point next{base.x + dx, base.y + dy};
  if (!displayBounds.contains(next)) {
    // Left the display it was on: keep it on some display, then learn which.
    // Both look-ups take the display list's mutex, so `lock` is not held.
    next = state.screens.clampToScreens(next);
    const DisplayInfo display = state.screens.displayInfo(next);
    std::lock_guard guard(state.lock);
    state.shared.display = display;
  }

  cur = next;
  taps.setLocation(event, next);
  taps.setIntegerField(event, field::kMouseEventDeltaX, roundedDelta(dx));
  taps.setIntegerField(event, field::kMouseEventDeltaY, roundedDelta(dy));
  state.system.cursor.warp(next);
  state.system.cursor.associateMouseAndCursor();
}

}  // namespace quillon
