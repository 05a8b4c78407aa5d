#pragma once

#include <atomic>

#include "quillon/platform/app_system.h"
#include "sim/sim_folder.h"
#include "sim/sim_records.h"

namespace quillon::sim {

// The HID event-system client and the legacy event-status calls: each
// call is recorded ("hidClientProperty", "hidServiceProperty",
// "legacyAcceleration", "inputParameter"). The client's services are the
// devices of devices.json: a trackpad's "HIDPointerAccelerationType" is
// "HIDTrackpadAcceleration", a mouse's "HIDMouseAcceleration"; the
// service id is the device id.
class SimHidSystem : public platform::HidSystem {
 public:
  SimHidSystem(const SystemFolder& folder, Recorder& recorder)
      : folder_(folder), recorder_(recorder) {}
  void setClientProperty(const std::string& name, int64_t value) override;
  std::vector<platform::HidService> services() override;
  void setServiceProperty(uint64_t serviceId, const std::string& name, int64_t value) override;
  void legacySetAcceleration(const std::string& name, double value) override;
  void setInputParameter(const std::string& name, int64_t value) override;

 private:
  const SystemFolder& folder_;
  Recorder& recorder_;
};

// The IOKit registry: "AppleMultitouchTrackpadHIDEventDriver" counts the
// trackpads of devices.json; other classes have no services. The query
// fails when a test says so.
class SimRegistry : public platform::Registry {
 public:
  explicit SimRegistry(const SystemFolder& folder) : folder_(folder) {}
  std::optional<int> serviceCount(const std::string& className) override;
  void setFails(bool fails) { fails_ = fails; }

 private:
  const SystemFolder& folder_;
  std::atomic<bool> fails_{false};
};

}  // namespace quillon::sim
