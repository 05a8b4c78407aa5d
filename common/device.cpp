#include "common/device.h"

namespace quillon {

std::optional<Device> deviceFromKey(std::string_view key) {
  if (key == deviceKey(Device::trackpad)) return Device::trackpad;
  if (key == deviceKey(Device::mouse)) return Device::mouse;
  return std::nullopt;
}

}  // namespace quillon
