#include "app/core/installer.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "app/core/installer_move.h"

namespace quillon::app {

namespace Installer {

bool runningFromInstaller(platform::BundleInfo& bundle) {
  const std::string path = bundle.bundlePath();
  if (path.find(kTranslocatedMarker) != std::string::npos) return true;
  // An external disk under /Volumes is writable, and a read-only volume
  // elsewhere is not an installer: both count as a normal start.
  if (!bundle.volumeIsReadOnly(path).value_or(false)) return false;
  return path.starts_with(kVolumesPrefix);
}

std::string volumePath(const std::string& macPath) {
  if (!macPath.starts_with(kVolumesPrefix)) return {};
  // Components after "/" and "Volumes": the volume's name comes first and
  // may hold spaces; it stays one argument of the script.
  const std::string rest = macPath.substr(std::char_traits<char>::length(kVolumesPrefix));
  const size_t begin = rest.find_first_not_of('/');
  if (begin == std::string::npos) return {};
  const size_t end = rest.find('/', begin);
  return kVolumesPrefix + rest.substr(begin, end == std::string::npos ? end : end - begin);
}

InstallerAlert moveOffer() {
  return {"Move Quillon to Applications?",
          "Quillon is running from the installer. To work properly, and keep working after the "
          "installer is closed, it needs to be in your Applications folder.",
          {"Move to Applications", "Quit"}};
}

InstallerAlert moveFailed(const std::string& errorDescription) {
  return {"Quillon couldn't be moved",
          "Drag Quillon from the installer window onto the Applications folder, then open it "
          "from Applications.\n\n(" +
              errorDescription + ")",
          {}};
}

void offerMove(Env& env, InstallerAlerts& alerts, const SleepMs& sleep) {
  env.sys.workspace.activateSelf();
  if (alerts.run(moveOffer()) != 0) {
    env.sys.workspace.terminateSelf();
    return;
  }
  move(env, sleep, [&env, &alerts](const platform::OsError& error) {
    (void)alerts.run(moveFailed(error.description));
    env.sys.workspace.terminateSelf();
  });
}

void relaunchApp(Env& env) {
  // A failed start is not reported: the app quits all the same.
  (void)env.sys.processes.startDetached(kShell,
                                        {"-c", kRelaunchScript, env.sys.bundle.bundlePath(),
                                         std::to_string(QCoreApplication::applicationPid())});
  env.sys.workspace.terminateSelf();
}

}  // namespace Installer

InstallerHooks installerHooks(Env& env, InstallerAlerts& alerts, Installer::SleepMs sleep) {
  if (!sleep) sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  InstallerHooks hooks;
  hooks.runningFromInstaller = [&env] { return Installer::runningFromInstaller(env.sys.bundle); };
  hooks.offerMove = [&env, &alerts, sleep] { Installer::offerMove(env, alerts, sleep); };
  hooks.relaunchApp = [&env] { Installer::relaunchApp(env); };
  return hooks;
}

}  // namespace quillon::app
