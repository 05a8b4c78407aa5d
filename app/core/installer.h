#pragma once

#include "app/core/env.h"

namespace quillon::app {

class Windows;

namespace Installer {

// Set at start-up when the app runs from the installer: the only thing this
// process does then is offer to move itself to Applications. Main thread
// only.
inline bool pending = false;

}  // namespace Installer

// Placeholders until the installer exists: the app never counts as running
// from the installer, offering the move just quits, and the relaunch quits
// without starting a new copy.
InstallerHooks stubInstallerHooks(Windows& windows);

}  // namespace quillon::app
