#pragma once

#include <optional>
#include <string>

#include "common/device.h"

namespace quillon {

// One device's settings as stored in config.json. Keys are the field names.
struct DeviceConfig {
  std::string mode = "mac";  // "mac", "windows", "custom"; other text counts as mac
  double speed = 10;
  double accel = 0.6;
  double winSpeed = 5;
  double scale = 1;
  bool natural = true;
  std::optional<bool> accelOff;
  std::optional<double> dpi;     // counts per inch
  std::optional<double> winDpi;  // counts per inch the mouse had on Windows
  std::optional<std::string> match;
  std::optional<bool> scrollAccelOff;
  std::optional<double> scrollSpeed;
  std::optional<double> shape;
  std::optional<double> threshold;  // mm/s
  std::optional<double> maxBoost;

  static DeviceConfig trackpadDefault();
  static DeviceConfig mouseDefault();
  friend bool operator==(const DeviceConfig&, const DeviceConfig&) = default;
};

struct Config {
  DeviceConfig trackpad = DeviceConfig::trackpadDefault();
  DeviceConfig mouse = DeviceConfig::mouseDefault();

  const DeviceConfig& of(Device d) const { return d == Device::mouse ? mouse : trackpad; }
  friend bool operator==(const Config&, const Config&) = default;
};

// What the scroll handler needs of one device.
struct ScrollPrefs {
  bool natural = true;
  bool accelOff = false;
  double speed = 1;
  friend bool operator==(const ScrollPrefs&, const ScrollPrefs&) = default;
};

ScrollPrefs scrollPrefs(const DeviceConfig& c);

constexpr double kMMPerInch = 25.4;
constexpr double kDefaultMouseDPI = 1600;
// Mouse counts per millimetre from the mouse's "dpi" (at least 50 DPI).
double mouseCPMM(const DeviceConfig& mouse);

// Strict decoding: both devices and their six required keys with the right
// types; null counts as absent; unknown keys are ignored. Throws
// ConfigError with the decoder's description, as valid UTF-8, on any
// failure.
struct ConfigError {
  std::string message;
};
Config decodeConfig(std::string_view text);

// Pretty-printed, keys sorted, absent optional fields left out.
std::string encodeConfig(const Config& config);

}  // namespace quillon
