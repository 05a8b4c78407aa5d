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

void Model::startHelperIfNeeded() {
  if (nothingToDo(config_, macNaturalScrolling(env_)) && !env_.flags.keepForSetup) {
    Helper::stop(env_);
    return;
  }
  const bool wasEnabled = Helper::registered(env_);
  if (const auto error = Helper::start(env_)) {
    setMessage(*error);
    windows_.showSetup();
    return;
  }
  if (wasEnabled) return;
  // A newly registered helper that cannot do its work yet needs the user's
  // permission: show them where.
  env_.runLoop.after(kAccessibilityCheckAfterSeconds, [self = QPointer<Model>(this)] {
    if (!self) return;
    if (Helper::registered(self->env_) && !Helper::status(self->env_).accessibility) {
      self->windows_.showSetup();
    }
  });
}

void Model::setOpenAtLogin(bool on) {
  platform::AppService& app = env_.sys.services.mainApp();
  const platform::OsResult failed = on ? app.registerService() : app.unregisterService();
  if (failed) setMessage("Couldn't change login item: " + failed->description);
  // The switch shows the real state, also after a refusal.
  setOpenAtLoginValue(app.status() == platform::ServiceStatus::enabled);
}

}  // namespace quillon::app
