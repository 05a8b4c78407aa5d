#include "sim/app/sim_hid_system.h"

#include "sim/sim_state.h"

namespace quillon::sim {

void SimHidSystem::setClientProperty(const std::string& name, int64_t value) {
  recorder_.add("hidClientProperty", {{"name", name}, {"value", value}});
}

std::vector<platform::HidService> SimHidSystem::services() {
  std::vector<platform::HidService> out;
  Devices devices = readDevices(folder_);
  for (const auto& t : devices.trackpads) out.push_back({t.id, "HIDTrackpadAcceleration"});
  for (const auto& h : devices.hid) out.push_back({h.id, "HIDMouseAcceleration"});
  return out;
}

void SimHidSystem::setServiceProperty(uint64_t serviceId, const std::string& name, int64_t value) {
  recorder_.add("hidServiceProperty", {{"service", serviceId}, {"name", name}, {"value", value}});
}

void SimHidSystem::legacySetAcceleration(const std::string& name, double value) {
  recorder_.add("legacyAcceleration", {{"name", name}, {"value", value}});
}

void SimHidSystem::setInputParameter(const std::string& name, int64_t value) {
  recorder_.add("inputParameter", {{"name", name}, {"value", value}});
}

std::optional<int> SimRegistry::serviceCount(const std::string& className) {
  if (fails_) return std::nullopt;
  if (className != "AppleMultitouchTrackpadHIDEventDriver") return 0;
  return static_cast<int>(readDevices(folder_).trackpads.size());
}

}  // namespace quillon::sim
