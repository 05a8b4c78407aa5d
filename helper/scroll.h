#pragma once

#include "helper/state.h"
#include "quillon/platform/events.h"

namespace quillon {

// Scroll events are rewritten in place, never swallowed. Main thread.

// Decides the device, then applies its scroll settings: acceleration off,
// speed, direction.
platform::EventRef handleScroll(HelperState& state, platform::EventRef event);

// A wheel event scrolls exactly three lines; a trackpad event scrolls as far
// as the fingers moved.
void removeScrollAcceleration(HelperState& state, platform::EventRef event, bool fromTrackpad);

// Multiplies every delta by `factor`, keeping the fractions of points per
// axis for later events.
void scaleScroll(HelperState& state, platform::EventRef event, double factor);

}  // namespace quillon
