// Uninstalling: the confirmation and the survey, then everything Quillon
// added goes, in an order where no step's failure stops the later ones.
#include <QPointer>
#include <filesystem>
#include <system_error>

#include "app/core/feedback.h"
#include "app/core/helper_control.h"
#include "app/core/model.h"
#include "app/core/windows.h"

namespace quillon::app {

namespace {
// Run by /bin/sh with the bundle identifier as $0: user defaults can be
// written back from memory by a process that is still ending, so the domain
// is deleted once more after the app is gone.
constexpr const char* kDelayedDefaultsDelete = "sleep 1.5; /usr/bin/defaults delete \"$0\"";
// Unregistering returns before launchd has ended the helper; a helper still
// running writes its status into the support folder.
constexpr double kHelperGoneLookEverySeconds = 0.1;
constexpr int kHelperGoneLooks = 50;  // 5 s, then it is ended
// After ending it: a process takes a moment to go; then the uninstall goes
// on whatever it finds.
constexpr int kHelperEndedLooks = kHelperGoneLooks + 10;
}  // namespace

void Model::uninstall() {
  windows_.activateApp();
  if (!windows_.confirmUninstall()) return;
  const SurveyOutcome answer = windows_.askUninstallSurvey();
  if (answer.kind == SurveyOutcome::Kind::cancelled) return;

  // Before the windows close: closing the setup window then neither saves
  // nor marks setup done, and no closing window brings the panel back.
  env_.flags.uninstalling = true;
  windows_.closeSideWindows();

  auto finish = [self = QPointer<Model>(this)] {
    if (self) self->finishUninstall();
  };
  if (answer.kind == SurveyOutcome::Kind::answered) {
    // Whatever the service answers, the uninstall goes on.
    Feedback::send(env_, {"uninstall", answer.message, "", answer.reasons}, this,
                   [finish](bool) { finish(); });
  } else {
    env_.runLoop.after(0, finish);
  }
}

void Model::finishUninstall() {
  // Read before stop() deletes the file.
  const int helperPid = Helper::pid(env_);
  Helper::stop(env_);
  (void)env_.sys.services.mainApp().unregisterService();

  // macOS's own mouse acceleration back on; nothing is saved any more.
  setMouseMacAccel(true);
  applyMouseAcceleration();

  waitForHelperGone(helperPid, 0);
}

void Model::waitForHelperGone(int pid, int looks) {
  if (pid > 0 && Helper::processExists(pid) && looks < kHelperEndedLooks) {
    if (looks == kHelperGoneLooks) Helper::endProcess(pid);
    env_.runLoop.after(kHelperGoneLookEverySeconds, [self = QPointer<Model>(this), pid, looks] {
      if (self) self->waitForHelperGone(pid, looks + 1);
    });
    return;
  }
  removeEverything();
}

void Model::removeEverything() {
  // remove_all removes a link inside the folder as a link: what it points
  // to, wherever that is, stays.
  std::error_code ignored;
  std::filesystem::remove_all(env_.paths.supportDir, ignored);
  std::filesystem::remove(env_.paths.logFile, ignored);

  const std::string bundleId = env_.sys.bundle.bundleIdentifier();
  if (!bundleId.empty()) {
    env_.sys.defaults.removeAppDomain();
    (void)env_.sys.processes.startDetached("/bin/sh", {"-c", kDelayedDefaultsDelete, bundleId});
  }

  for (const char* service : {"Accessibility", "ListenEvent"}) {
    (void)run(env_, "/usr/bin/tccutil", {"reset", service, Helper::bundleID});
  }

  // The app ends when the workspace answers, whether the move worked or not.
  // An app run outside an application bundle (a developer's build) has its
  // executable's folder as main bundle: that folder is not ours to trash.
  platform::AppSystem& sys = env_.sys;
  const std::string bundle = sys.bundle.bundlePath();
  if (std::filesystem::path(bundle).extension() != ".app") {
    sys.workspace.terminateSelf();
    return;
  }
  sys.workspace.recycle(bundle,
                        [&sys](const platform::OsResult&) { sys.workspace.terminateSelf(); });
}

}  // namespace quillon::app
