#pragma once

#include <optional>
#include <string_view>

namespace quillon {

enum class Device { trackpad, mouse };

constexpr std::string_view deviceKey(Device d) {
  return d == Device::mouse ? "mouse" : "trackpad";
}

// "trackpad" or "mouse" exactly; any other text names no device.
std::optional<Device> deviceFromKey(std::string_view key);

}  // namespace quillon
