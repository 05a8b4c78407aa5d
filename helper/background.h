#pragma once

#include "helper/state.h"

namespace quillon {

// The background run after the log set-up: waits for Accessibility, applies
// the configuration, opens the devices, installs the tap and runs the main
// run loop. Returns the exit status when the process ends itself. Before it
// returns, everything it registered with the system is undone (trackpads
// stopped, callbacks dropped), so that `state` may be destroyed at once.
int runBackground(HelperState& state);

}  // namespace quillon
