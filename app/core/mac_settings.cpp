#include "app/core/mac_settings.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace quillon::app {

std::optional<platform::PrefValue> pref(Env& env, const std::string& key) {
  return env.sys.preferences.globalValue(key);
}

std::optional<double> prefNumber(Env& env, const std::string& key) {
  auto v = pref(env, key);
  if (!v || !std::holds_alternative<double>(*v)) return std::nullopt;
  return std::get<double>(*v);
}

std::optional<bool> prefBool(Env& env, const std::string& key) {
  auto v = pref(env, key);
  if (!v || !std::holds_alternative<bool>(*v)) return std::nullopt;
  return std::get<bool>(*v);
}

void setPref(Env& env, const std::string& key, const platform::PrefValue& value) {
  env.sys.preferencesWriter.setAnyHost(key, value);
  env.sys.preferencesWriter.synchronize();
}

bool macNaturalScrolling(Env& env) {
  return prefBool(env, PrefKey::naturalScrolling).value_or(true);
}

bool trackpadConnected(Env& env) {
  if (const char* v = std::getenv("QUILLON_NO_TRACKPAD");
      v != nullptr && std::string_view(v) == "1") {
    return false;
  }
  const std::optional<int> count =
      env.sys.registry.serviceCount("AppleMultitouchTrackpadHIDEventDriver");
  return !count || *count > 0;
}

void setHID(Env& env, const std::string& name, int64_t value) {
  platform::HidSystem& hid = env.sys.hid;
  hid.setClientProperty(name, value);
  if (name != HidKey::trackpadAcceleration) return;
  // Trackpads read their speed from their own service, not from the client.
  for (const platform::HidService& service : hid.services()) {
    if (service.accelerationType == HidKey::trackpadAcceleration) {
      hid.setServiceProperty(service.id, name, value);
    }
  }
  hid.legacySetAcceleration(name, static_cast<double>(value) / 65536);
}

void setInputParameter(Env& env, const std::string& name, int64_t value) {
  env.sys.hid.setInputParameter(name, value);
}

int64_t hidSpeedValue(double speed) {
  const double fixed = speed * 65536;
  // Converting NaN or an out-of-range double to an integer is undefined.
  if (!std::isfinite(fixed)) return 0;
  if (fixed >= static_cast<double>(std::numeric_limits<int64_t>::max())) {
    return std::numeric_limits<int64_t>::max();
  }
  if (fixed <= static_cast<double>(std::numeric_limits<int64_t>::min())) {
    return std::numeric_limits<int64_t>::min();
  }
  return static_cast<int64_t>(fixed);
}

namespace ShakeToLocate {

bool isOn(Env& env) {
  // Another app (System Settings) changes this one.
  env.sys.preferencesWriter.synchronize();
  const std::optional<bool> disabled = prefBool(env, PrefKey::noShakeToLocate);
  return !disabled.value_or(false);
}

void openSettings(Env& env) {
  env.sys.workspace.openURL(
      "x-apple.systempreferences:com.apple.Accessibility-Settings.extension?Display");
}

}  // namespace ShakeToLocate

}  // namespace quillon::app
