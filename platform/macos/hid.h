#pragma once

#include "quillon/platform/hid.h"

namespace quillon::platform::macos {

// IOKit's HID manager for raw mouse reports and listen-event access.
class IOKitHid final : public Hid {
 public:
  HidManagerRef createManager(HidUsage device, const std::vector<HidUsage>& values) override;
  void setCallbacks(HidManagerRef manager, HidValueCallback onValue, HidRemovalCallback onRemoval,
                    void* context) override;
  void schedule(HidManagerRef manager) override;
  bool open(HidManagerRef manager) override;
  void close(HidManagerRef manager) override;
  std::optional<bool> boolProperty(HidDeviceRef device, const char* key) override;
  std::optional<std::string> stringProperty(HidDeviceRef device, const char* key) override;
  bool listenEventAccessGranted() override;
  void requestListenEventAccess() override;

 private:
  HidValueCallback onValue_ = nullptr;
  HidRemovalCallback onRemoval_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace quillon::platform::macos
