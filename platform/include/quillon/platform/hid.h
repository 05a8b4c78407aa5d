#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon::platform {

// IOKit's HID manager, for raw mouse reports.
using HidManagerRef = void*;
using HidDeviceRef = void*;

struct HidUsage {
  uint32_t page = 0;
  uint32_t usage = 0;
};

struct HidValue {
  HidDeviceRef device = nullptr;  // the element's device
  HidUsage usage;                 // the element's usage page and usage
  int64_t integer = 0;            // IOHIDValueGetIntegerValue
};

// Both run on the main run loop.
using HidValueCallback = void (*)(void* context, const HidValue& value);
using HidRemovalCallback = void (*)(void* context, HidDeviceRef device);

class Hid {
 public:
  virtual ~Hid() = default;
  // IOHIDManagerCreate with device matching `device` and input value
  // matching any of `values`. Never null.
  virtual HidManagerRef createManager(HidUsage device, const std::vector<HidUsage>& values) = 0;
  virtual void setCallbacks(HidManagerRef manager, HidValueCallback onValue,
                            HidRemovalCallback onRemoval, void* context) = 0;
  // Schedules on the main run loop in the default mode.
  virtual void schedule(HidManagerRef manager) = 0;
  // False when the system refuses (Input Monitoring not allowed).
  virtual bool open(HidManagerRef manager) = 0;
  // Undoes setCallbacks, schedule and open, opened or not, and releases the
  // manager: no callback runs once it has returned, and `manager` may not be
  // used again. Main thread.
  virtual void close(HidManagerRef manager) = 0;

  virtual std::optional<bool> boolProperty(HidDeviceRef device, const char* key) = 0;
  virtual std::optional<std::string> stringProperty(HidDeviceRef device, const char* key) = 0;

  // IOHIDCheckAccess / IOHIDRequestAccess for listen-event access.
  virtual bool listenEventAccessGranted() = 0;
  virtual void requestListenEventAccess() = 0;
};

}  // namespace quillon::platform
