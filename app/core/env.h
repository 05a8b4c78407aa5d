#pragma once

#include <cstdint>
#include <functional>

#include "app/core/run_flags.h"
#include "common/paths.h"
#include "quillon/platform/app_system.h"

namespace quillon::app {

// The operations of the installer that start-up and resetAll() call; the
// app fills them in with installerHooks() (installer.h), tests with their own.
struct InstallerHooks {
  // The running bundle is on the installer's disk image or translocated.
  std::function<bool()> runningFromInstaller;
  // Offers to move the app to Applications; the app ends in every branch.
  std::function<void()> offerMove;
  // Restarts the app: this process ends, a new one starts shortly after.
  std::function<void()> relaunchApp;
};

// What the core's operations need of the machine. Every member is used on
// the main thread only.
struct Env {
  platform::AppSystem& sys;
  Paths paths;
  // The main queue: delayed work (QtRunLoop in the app, a manual one in
  // tests).
  platform::RunLoop& runLoop;
  // The user id for launchctl's "gui/<uid>/..." domains.
  uint32_t uid = 0;
  InstallerHooks installer;
  RunFlags flags;
};

}  // namespace quillon::app
