#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "sim/sim_folder.h"
#include "sim/sim_mac.h"
#include "sim/sim_records.h"

namespace quillon::sim {

// IOKit's HID manager. The devices are the "hid" entries of devices.json
// and the trackpads (a trackpad is a HID pointing device too). A manager
// gets values only once it is scheduled and open, and only of the usages
// its value matching names; opening needs Input Monitoring, read from
// permissions.json on each call. A closed manager gets nothing more; its
// handle stays valid for the Mac's life.
class SimHid : public platform::Hid {
 public:
  SimHid(const SystemFolder& folder, Recorder& recorder) : folder_(folder), recorder_(recorder) {}

  platform::HidManagerRef createManager(platform::HidUsage device,
                                        const std::vector<platform::HidUsage>& values) override;
  void setCallbacks(platform::HidManagerRef manager, platform::HidValueCallback onValue,
                    platform::HidRemovalCallback onRemoval, void* context) override;
  void schedule(platform::HidManagerRef manager) override;
  bool open(platform::HidManagerRef manager) override;
  void close(platform::HidManagerRef manager) override;
  std::optional<bool> boolProperty(platform::HidDeviceRef device, const char* key) override;
  std::optional<std::string> stringProperty(platform::HidDeviceRef device,
                                            const char* key) override;
  bool listenEventAccessGranted() override;
  void requestListenEventAccess() override;

  // On the calling thread, which stands for the main run loop. False when
  // no manager took the value.
  bool deliver(uint64_t deviceId, uint32_t usage, int64_t value);
  // Tells every open manager that knew the device.
  void disconnected(uint64_t deviceId);

 private:
  struct Manager {
    platform::HidUsage device;
    std::vector<platform::HidUsage> values;
    platform::HidValueCallback onValue = nullptr;
    platform::HidRemovalCallback onRemoval = nullptr;
    void* context = nullptr;
    bool scheduled = false;
    bool open = false;
  };
  struct Device {
    SimHidDevice info;
  };
  struct Target {
    platform::HidValueCallback onValue;
    platform::HidRemovalCallback onRemoval;
    void* context;
  };
  Manager* manager(platform::HidManagerRef ref);  // under mutex_
  Device* device(platform::HidDeviceRef ref);     // under mutex_
  // The device's handle as the file describes it now; null if not attached.
  Device* attach(uint64_t id);

  const SystemFolder& folder_;
  Recorder& recorder_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Manager>> managers_;
  std::map<uint64_t, std::unique_ptr<Device>> devices_;  // handles live as long as the Mac
};

}  // namespace quillon::sim
