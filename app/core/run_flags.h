#pragma once

namespace quillon::app {

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
};

}  // namespace quillon::app
