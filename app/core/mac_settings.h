#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/core/env.h"
#include "common/device.h"

namespace quillon::app {

// macOS's own pointer settings in the global preferences domain.
namespace PrefKey {
inline constexpr const char* trackpadScaling = "com.apple.trackpad.scaling";
inline constexpr const char* mouseScaling = "com.apple.mouse.scaling";
inline constexpr const char* mouseLinear = "com.apple.mouse.linear";
inline constexpr const char* naturalScrolling = "com.apple.swipescrolldirection";
inline constexpr const char* noShakeToLocate = "CGDisableCursorLocationMagnification";
}  // namespace PrefKey

// Properties of the HID event system.
namespace HidKey {
inline constexpr const char* trackpadAcceleration = "HIDTrackpadAcceleration";
inline constexpr const char* mouseAcceleration = "HIDMouseAcceleration";
inline constexpr const char* linearMouse = "HIDUseLinearScalingMouseAcceleration";
}  // namespace HidKey

// The device's pointer speed key (0 to 3) and its HID property.
constexpr const char* macSpeedKey(Device d) {
  return d == Device::mouse ? PrefKey::mouseScaling : PrefKey::trackpadScaling;
}
constexpr const char* hidSpeedKey(Device d) {
  return d == Device::mouse ? HidKey::mouseAcceleration : HidKey::trackpadAcceleration;
}

// The global preference value, or none.
std::optional<platform::PrefValue> pref(Env& env, const std::string& key);
// Typed reads: none when missing or of another type.
std::optional<double> prefNumber(Env& env, const std::string& key);
std::optional<bool> prefBool(Env& env, const std::string& key);
// Writes for any application, the current user and any host, then
// synchronizes the global domain.
void setPref(Env& env, const std::string& key, const platform::PrefValue& value);

// macOS's natural scrolling; true when missing or not a boolean.
bool macNaturalScrolling(Env& env);

// A trackpad is connected. QUILLON_NO_TRACKPAD=1 in the environment answers
// false (a Mac with a trackpad acts as one without); a failed registry query
// answers true.
bool trackpadConnected(Env& env);

// Pushes a value into the running HID system. For the trackpad speed also
// every service that uses trackpad acceleration, and the older IOKit call.
void setHID(Env& env, const std::string& name, int64_t value);
void setInputParameter(Env& env, const std::string& name, int64_t value);

// A speed (0 to 3) as the HID system's fixed-point integer, truncated.
// Non-finite speeds give 0.
int64_t hidSpeedValue(double speed);

namespace ShakeToLocate {
// macOS enlarges the pointer when the mouse is shaken.
bool isOn(Env& env);
// Opens the Display page of the Accessibility settings.
void openSettings(Env& env);
}  // namespace ShakeToLocate

}  // namespace quillon::app
