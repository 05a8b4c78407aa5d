#pragma once

#include <cstdint>

#include "helper/state.h"
#include "quillon/platform/events.h"

namespace quillon {

// Moves the pointer by (dx, dy) points from where the helper last put it,
// keeps it on the displays, rewrites the event's location and deltas and
// warps the cursor there. Main thread.
void movePointer(HelperState& state, platform::EventRef event, double dx, double dy);
// The same, with `display.bounds` as the caller copied it under `lock` in
// this event: only the main thread changes `display`, so the copy is
// current, and the event takes `lock` once less.
void movePointer(HelperState& state, platform::EventRef event, double dx, double dy,
                 const Rect& displayBounds);

// A step as the event's whole-point delta: std::round's result (halves away
// from zero: 2.5 -> 3, -2.5 -> -3) without its library call. `d` is finite
// and well inside int64_t, as every step is (at most kMaxStep long).
inline int64_t roundedDelta(double d) {
  const auto whole = static_cast<int64_t>(d);  // toward zero
  // Exact for every double: the fraction that truncation dropped.
  const double fraction = d - static_cast<double>(whole);
  if (fraction >= 0.5) return whole + 1;
  if (fraction <= -0.5) return whole - 1;
  return whole;
}

// For events the helper leaves alone: remember where the system put the
// pointer, so the next event we move starts from there. Main thread.
void followEventLocation(HelperState& state, platform::EventRef event);

}  // namespace quillon
