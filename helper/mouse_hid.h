#pragma once

#include "helper/state.h"
#include "quillon/platform/hid.h"

namespace quillon {

// Sets up the raw mouse reader: X and Y counts of every generic-desktop
// mouse, collected into state.main.mouseCountX/Y for the tap. Without Input
// Monitoring the manager is kept unopened so the background run can retry.
// Main thread.
void startMouseHID(HelperState& state);

// A trackpad also reports as a HID mouse; its counts must not be taken as
// mouse movement. Main thread.
bool isTrackpadDevice(HelperState& state, platform::HidDeviceRef device);

}  // namespace quillon
