#pragma once

#include <cstdint>

#include "helper/state.h"
#include "quillon/platform/events.h"

namespace quillon {

// The one event tap at the HID level, ahead of every other tap: pointer
// motion, drags and scroll wheel. Everything here runs on the main thread.

// False when the system refuses the tap (no Accessibility permission).
bool startTap(HelperState& state);

// The tap's callback; `context` is the HelperState. Returns the event to
// pass on: always the same event, possibly rewritten.
platform::EventRef tapCallback(void* context, uint32_t type, platform::EventRef event);

// Dispatch by event type.
platform::EventRef handle(HelperState& state, uint32_t type, platform::EventRef event);

// Subtype 0: converts the mouse's raw counts with the mouse curve.
platform::EventRef handleMouseMove(HelperState& state, platform::EventRef event);
// Subtype 3: applies what the contact callback has collected.
platform::EventRef handleTrackpadMove(HelperState& state, platform::EventRef event);

// The display reconfiguration callback; ignores the announcement that a
// reconfiguration begins.
void onDisplayReconfiguration(HelperState& state, bool beginning);

}  // namespace quillon
