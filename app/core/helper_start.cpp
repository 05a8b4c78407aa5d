// The model's side of helper control: whether the helper has anything to do,
// and the app's own login item.
#include <QPointer>

#include "app/core/helper_control.h"
#include "app/core/mac_settings.h"
#include "app/core/model.h"
#include "app/core/windows.h"

namespace quillon::app {

namespace {
constexpr double kAccessibilityCheckAfterSeconds = 2.5;
// A helper that has not written its first status by then is not coming up.
constexpr double kFirstStatusLimitSeconds = 10.0;
constexpr double kFirstStatusLookEverySeconds = 1.0;

// Everything the configuration asks for is what macOS does anyway.
bool nothingToDo(const Config& config, bool macNatural) {
  for (const DeviceConfig* c : {&config.trackpad, &config.mouse}) {
    if (c->mode != "mac" || c->scrollAccelOff.value_or(false) || c->scrollSpeed ||
        c->natural != macNatural) {
      return false;
    }
  }
  return true;
}
}  // namespace

bool Model::helperNeeded() const {
  return !nothingToDo(config_, macNaturalScrolling(env_));
}

void Model::startHelperIfNeeded() {
  if (!helperNeeded() && !env_.flags.keepForSetup) {
    Helper::stop(env_);
    return;
  }
  const bool wasEnabled = Helper::registered(env_);
  // A status file left by an earlier helper says nothing about this one.
  const int previousPid = Helper::pid(env_);
  if (const auto error = Helper::start(env_)) {
    setMessage(*error);
    windows_.showSetup();
    return;
  }
  if (wasEnabled) return;
  // A newly registered helper that cannot do its work yet needs the user's
  // permission: show them where.
  env_.runLoop.after(kAccessibilityCheckAfterSeconds, [self = QPointer<Model>(this), previousPid] {
    if (self) self->checkFirstStatus(previousPid, kAccessibilityCheckAfterSeconds);
  });
}

void Model::checkFirstStatus(int previousPid, double waited) {
  // Stopped meanwhile (and not by a retry on its way to registering again).
  if (!Helper::registered(env_) && !Helper::retryPending(env_)) return;
  const Helper::Status s = Helper::status(env_);
  if (s.running && Helper::pid(env_) != previousPid) {
    if (!s.accessibility) windows_.showSetup();
    return;
  }
  if (waited >= kFirstStatusLimitSeconds) {
    windows_.showSetup();
    return;
  }
  env_.runLoop.after(kFirstStatusLookEverySeconds,
                     [self = QPointer<Model>(this), previousPid, waited] {
                       if (self)
                         self->checkFirstStatus(previousPid, waited + kFirstStatusLookEverySeconds);
                     });
}

void Model::restartHelper() {
  Helper::restart(env_, [self = QPointer<Model>(this)](std::optional<std::string> error) {
    if (!self) return;
    if (error) self->setMessage(*error);
    self->updateWarning();
  });
  updateWarning();
}

void Model::setOpenAtLogin(bool on) {
  platform::AppService& app = env_.sys.services.mainApp();
  const platform::OsResult failed = on ? app.registerService() : app.unregisterService();
  if (failed) setMessage("Couldn't change login item: " + failed->description);
  // The switch shows the real state, also after a refusal.
  setOpenAtLoginValue(app.status() == platform::ServiceStatus::enabled);
}

}  // namespace quillon::app
