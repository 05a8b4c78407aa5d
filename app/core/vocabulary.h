#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/device.h"

namespace quillon::app {

// How a device's pointer moves: macOS's own curve, a measured Windows curve,
// or the custom formula. Stored in DeviceConfig::mode by its key.
enum class Mode { mac, windows, custom };

inline constexpr std::array<Device, 2> kAllDevices = {Device::trackpad, Device::mouse};
inline constexpr std::array<Mode, 3> kAllModes = {Mode::mac, Mode::windows, Mode::custom};

// "Trackpad" / "Mouse": the name the app shows.
constexpr std::string_view displayName(Device d) {
  return d == Device::mouse ? "Mouse" : "Trackpad";
}

// "Mac" / "Windows" / "Custom".
constexpr std::string_view displayName(Mode m) {
  switch (m) {
    case Mode::windows:
      return "Windows";
    case Mode::custom:
      return "Custom";
    case Mode::mac:
      break;
  }
  return "Mac";
}

// "mac" / "windows" / "custom": the text in config.json.
constexpr std::string_view modeKey(Mode m) {
  switch (m) {
    case Mode::windows:
      return "windows";
    case Mode::custom:
      return "custom";
    case Mode::mac:
      break;
  }
  return "mac";
}

// The mode whose key is `key`; any other text reads as mac, as the helper
// treats it.
constexpr Mode modeFromKey(std::string_view key) {
  for (Mode m : kAllModes) {
    if (modeKey(m) == key) return m;
  }
  return Mode::mac;
}

}  // namespace quillon::app
