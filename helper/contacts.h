#pragma once

#include <cstdint>

#include "helper/state.h"
#include "quillon/platform/multitouch.h"

namespace quillon {

// Registers and starts every listed trackpad not yet read; `fresh` first
// stops the ones started before and forgets them (after a wake the
// framework lists its devices anew).
// True if at least one trackpad's frames are being read. Main thread.
bool startMultitouch(HelperState& state, bool fresh);

// Stops every trackpad that startMultitouch started and drops the
// contact-frame callback wherever it was registered. When it returns, no
// frame is being handled on `state` and none will be, so the state may go.
// Main thread, without `lock`.
void stopMultitouch(HelperState& state);

// One contact frame: `records` points at `count` records of kMTFingerSize
// bytes (or is null). Follows the finger that moved farthest, turns its
// step into pointer points with the trackpad curve and leaves them for the
// tap. Runs on the multitouch framework's thread, one frame at a time;
// `context` is the HelperState. Returns 0.
int32_t contactCallback(void* context, platform::MTDeviceRef device, const void* records,
                        int32_t count, double timestamp, int32_t frame);

// Multitouch devices the system lists; a change means a trackpad came or went.
int multitouchDeviceCount(HelperState& state);

}  // namespace quillon
