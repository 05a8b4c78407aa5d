#pragma once

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

// For events the helper leaves alone: remember where the system put the
// pointer, so the next event we move starts from there. Main thread.
void followEventLocation(HelperState& state, platform::EventRef event);

}  // namespace quillon
