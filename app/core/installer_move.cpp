#include "app/core/installer_move.h"

#include <QCoreApplication>
#include <filesystem>
#include <string>
#include <system_error>

namespace quillon::app::Installer {

namespace fs = std::filesystem;

namespace {

platform::OsError describe(const std::string& what, const std::error_code& ec) {
  return {what + ": " + ec.message()};
}

// "/Applications" when this user may write to it, else ~/Applications,
// created with its missing parents.
std::optional<std::string> targetFolder(Env& env, platform::OsError& error) {
  if (env.sys.bundle.isWritable(kSystemApplications)) return kSystemApplications;
  const std::string folder = (env.paths.home / kUserApplications).string();
  std::error_code ec;
  fs::create_directories(env.sys.bundle.hostPath(folder), ec);
  if (ec) {
    error = describe("Couldn't create the folder “" + folder + "”", ec);
    return std::nullopt;
  }
  return folder;
}

// Other running copies of the app (whatever their location) would keep the
// old bundle busy or outlive the move: each is asked to quit, given about
// 4 s, then forced. Never this process, which shares their identifier.
void stopOtherCopies(Env& env, const SleepMs& sleep) {
  platform::AppWorkspace& ws = env.sys.workspace;
  const auto self = static_cast<int>(QCoreApplication::applicationPid());
  for (const platform::RunningApp& app :
       ws.runningApplications(env.sys.bundle.bundleIdentifier())) {
    if (app.pid == self) continue;
    ws.terminate(app.pid);
    for (int poll = 0; poll < kQuitPolls && !ws.isTerminated(app.pid); ++poll)
      sleep(kQuitPollIntervalMs);
    if (!ws.isTerminated(app.pid)) ws.forceTerminate(app.pid);
  }
}

// Steps 6 to 9, once the destination is free.
void copyAndHandOver(Env& env, const std::string& source, const std::string& destination,
                     const MoveFailed& failed) {
  const fs::path to = env.sys.bundle.hostPath(destination);
  std::error_code ec;
  fs::copy(env.sys.bundle.hostPath(source), to,
           fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
  if (ec) {
    // A half-copied bundle would look like an installed app that cannot
    // start; the destination was free before, so all of it is ours.
    std::error_code ignored;
    fs::remove_all(to, ignored);
    failed(
        describe("Couldn't copy “" + std::string(kBundleName) + "” to “" + destination + "”", ec));
    return;
  }
  const std::vector<std::string> args = {
      "-c",        kHandOverScript,   "sh", std::to_string(QCoreApplication::applicationPid()),
      destination, volumePath(source)};
  if (auto error = env.sys.processes.startDetached(kShell, args)) {
    failed(*error);
    return;
  }
  env.sys.workspace.terminateSelf();
}

}  // namespace

void move(Env& env, const SleepMs& sleep, MoveFailed failed) {
  const std::string source = env.sys.bundle.bundlePath();
  platform::OsError error;
  const auto folder = targetFolder(env, error);
  if (!folder) {
    failed(error);
    return;
  }
  const std::string destination = *folder + "/" + kBundleName;

  stopOtherCopies(env, sleep);

  std::error_code ec;
  if (!fs::exists(fs::symlink_status(env.sys.bundle.hostPath(destination), ec))) {
    copyAndHandOver(env, source, destination, failed);
    return;
  }
  // The old copy goes to the Trash, not away: the user may want it back.
  env.sys.workspace.recycle(destination, [&env, source, destination,
                                          failed = std::move(failed)](platform::OsResult trashed) {
    if (trashed) {
      failed(*trashed);
      return;
    }
    copyAndHandOver(env, source, destination, failed);
  });
}

}  // namespace quillon::app::Installer
