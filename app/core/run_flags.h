#pragma once

#include <cstdint>

namespace quillon::app {

// The helper's retry (Helper::ensureRunning): each check or re-registration
// carries the generation it was scheduled in, and stop() moves the
// generation on, so nothing scheduled before a stop registers the agent.
struct HelperRetry {
  uint64_t generation = 0;
  bool pending = false;  // a check or a re-registration is still to come
};

// What kind of run this process is: set at start-up, or by the one
// operation that changes it, and read across the core. The app owns one,
// in its Env; a window reads it there and asks the core to change it.
// Main thread only.
struct RunFlags {
  // This process only shows things: no migration, no helper start, no
  // change to macOS's settings at start, no saving.
  bool previewOnly = false;
  // The app runs from the installer: all this process does is offer to
  // move itself to Applications.
  bool installerPending = false;
  // Uninstalling: nothing is saved any more, no window comes back.
  bool uninstalling = false;
  // The setup window is open: the helper stays registered even when the
  // configuration gives it nothing to do.
  bool keepForSetup = false;
  HelperRetry helperRetry;
};

}  // namespace quillon::app
