// macOS's mouse acceleration switch and the three resets.
#include "app/core/defaults.h"
#include "app/core/helper_control.h"
#include "app/core/mac_settings.h"
#include "app/core/model.h"

namespace quillon::app {

void Model::applyMouseAcceleration() {
  const bool linear = prefBool(env_, PrefKey::mouseLinear).value_or(false);
  // "linear" means acceleration off, so equal values disagree. Only an edit
  // made in Quillon is written; a switch changed in System Settings since
  // Quillon read it is taken as it is.
  if (linear == mouseMacAccel_) {
    if (mouseMacAccelEdited_) {
      setPref(env_, PrefKey::mouseLinear, !mouseMacAccel_);
    } else {
      readMouseMacAccel(!linear);
    }
  }
  mouseMacAccelEdited_ = false;
  const int64_t v = mouseMacAccel_ ? 0 : 1;
  setHID(env_, HidKey::linearMouse, v);
  setInputParameter(env_, HidKey::linearMouse, v);
}

void Model::macDefault() {
  cfg().mode = std::string(modeKey(Mode::mac));
  cfg().accelOff.reset();
  setMacSpeed(device_, Defaults::macSpeed);
  if (device_ == Device::mouse) setMouseMacAccel(true);
  changed();
  flushPendingSave();
}

void Model::resetCurrent() {
  DeviceConfig& c = cfg();
  c.accelOff.reset();
  switch (mode()) {
    case Mode::mac:
      setMacSpeed(device_, Defaults::macSpeed);
      if (device_ == Device::mouse) setMouseMacAccel(true);
      break;
    case Mode::windows:
      c.winSpeed = Defaults::windows(device_);
      c.scale = 1.0;
      c.match.reset();
      break;
    case Mode::custom:
      c.speed = Defaults::custom(device_).speed;
      c.accel = Defaults::custom(device_).accel;
      c.shape.reset();
      c.threshold.reset();
      c.maxBoost = Defaults::maxBoost;
      break;
  }
  changed();
  flushPendingSave();
}

void Model::resetAll() {
  const std::optional<double> dpi = config_.mouse.dpi;
  const bool natural = macNaturalScrolling(env_);
  config_ = Config{};
  for (DeviceConfig* c : {&config_.trackpad, &config_.mouse}) {
    c->natural = natural;
    c->maxBoost = Defaults::maxBoost;
  }
  config_.mouse.dpi = dpi;
  setMacSpeed(Device::trackpad, Defaults::macSpeed);
  setMacSpeed(Device::mouse, Defaults::macSpeed);
  setMouseMacAccel(true);
  changed();
  flushPendingSave();
  Helper::stop(env_);
  if (env_.installer.relaunchApp) env_.installer.relaunchApp();
}

}  // namespace quillon::app
