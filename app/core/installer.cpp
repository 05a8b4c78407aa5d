#include "app/core/installer.h"

#include "app/core/windows.h"

namespace quillon::app {

InstallerHooks stubInstallerHooks(Windows& windows) {
  InstallerHooks hooks;
  hooks.runningFromInstaller = [] { return false; };
  hooks.offerMove = [&windows] { windows.terminateApp(0); };
  hooks.relaunchApp = [&windows] { windows.terminateApp(0); };
  return hooks;
}

}  // namespace quillon::app
