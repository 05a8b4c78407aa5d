#include "sim/sim_hid.h"

#include <algorithm>
#include <string_view>

#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;

namespace {

constexpr uint32_t kGenericDesktop = 1;

json usagesJson(const std::vector<platform::HidUsage>& values) {
  json list = json::array();
  for (const auto& u : values) list.push_back({u.page, u.usage});
  return list;
}

}  // namespace

platform::HidManagerRef SimHid::createManager(platform::HidUsage device,
                                              const std::vector<platform::HidUsage>& values) {
  auto m = std::make_unique<Manager>();
  m->device = device;
  m->values = values;
  platform::HidManagerRef ref = m.get();
  {
    std::lock_guard g(mutex_);
    managers_.push_back(std::move(m));
  }
  recorder_.add("hidManager",
                {{"device", {device.page, device.usage}}, {"values", usagesJson(values)}});
  return ref;
}

SimHid::Manager* SimHid::manager(platform::HidManagerRef ref) {
  for (auto& m : managers_)
    if (m.get() == ref) return m.get();
  return nullptr;
}

SimHid::Device* SimHid::device(platform::HidDeviceRef ref) {
  for (auto& [id, d] : devices_)
    if (d.get() == ref) return d.get();
  return nullptr;
}

void SimHid::setCallbacks(platform::HidManagerRef ref, platform::HidValueCallback onValue,
                          platform::HidRemovalCallback onRemoval, void* context) {
  std::lock_guard g(mutex_);
  if (Manager* m = manager(ref)) {
    m->onValue = onValue;
    m->onRemoval = onRemoval;
    m->context = context;
  }
}

void SimHid::schedule(platform::HidManagerRef ref) {
  std::lock_guard g(mutex_);
  if (Manager* m = manager(ref)) m->scheduled = true;
}

bool SimHid::open(platform::HidManagerRef ref) {
  bool granted = readPermissions(folder_).inputMonitoring;
  bool ok = false;
  {
    std::lock_guard g(mutex_);
    if (Manager* m = manager(ref)) ok = m->open = m->open || granted;
  }
  recorder_.add("hidOpen", {{"ok", ok}});
  return ok;
}

void SimHid::close(platform::HidManagerRef ref) {
  {
    std::lock_guard g(mutex_);
    if (Manager* m = manager(ref)) {
      m->onValue = nullptr;
      m->onRemoval = nullptr;
      m->context = nullptr;
      m->scheduled = m->open = false;
    }
  }
  recorder_.add("hidClose", {});
}

std::optional<bool> SimHid::boolProperty(platform::HidDeviceRef ref, const char* key) {
  std::lock_guard g(mutex_);
  Device* d = device(ref);
  if (!d || !key || std::string_view(key) != "Built-In") return std::nullopt;
  return d->info.builtIn;
}

std::optional<std::string> SimHid::stringProperty(platform::HidDeviceRef ref, const char* key) {
  std::lock_guard g(mutex_);
  Device* d = device(ref);
  if (!d || !key || std::string_view(key) != "Product") return std::nullopt;
  return d->info.product;
}

bool SimHid::listenEventAccessGranted() {
  return readPermissions(folder_).inputMonitoring;
}

void SimHid::requestListenEventAccess() {
  recorder_.add("listenEventAccessRequested", {});
}

SimHid::Device* SimHid::attach(uint64_t id) {
  Devices listed = readDevices(folder_);
  std::optional<SimHidDevice> info;
  for (const auto& h : listed.hid)
    if (h.id == id) info = h;
  if (!info) {
    for (const auto& t : listed.trackpads)
      if (t.id == id)
        info = SimHidDevice{id, t.builtIn ? "Apple Internal Keyboard / Trackpad" : "Magic Trackpad",
                            t.builtIn};
  }
  if (!info) return nullptr;
  auto& d = devices_[id];
  if (!d) d = std::make_unique<Device>();
  d->info = *info;
  return d.get();
}

bool SimHid::deliver(uint64_t deviceId, uint32_t usage, int64_t value) {
  std::vector<Target> targets;
  platform::HidDeviceRef ref = nullptr;
  {
    std::lock_guard g(mutex_);
    Device* d = attach(deviceId);
    if (!d) return false;
    ref = d;
    for (const auto& m : managers_) {
      bool matches =
          m->values.empty() || std::any_of(m->values.begin(), m->values.end(), [&](const auto& u) {
            return u.page == kGenericDesktop && u.usage == usage;
          });
      if (m->open && m->scheduled && m->onValue && matches)
        targets.push_back({m->onValue, m->onRemoval, m->context});
    }
  }
  platform::HidValue v{ref, {kGenericDesktop, usage}, value};
  for (const auto& t : targets) t.onValue(t.context, v);
  return !targets.empty();
}

void SimHid::disconnected(uint64_t deviceId) {
  std::vector<Target> targets;
  platform::HidDeviceRef ref = nullptr;
  {
    std::lock_guard g(mutex_);
    auto it = devices_.find(deviceId);
    if (it == devices_.end()) return;  // never seen by a manager
    ref = it->second.get();
    for (const auto& m : managers_)
      if (m->open && m->scheduled && m->onRemoval)
        targets.push_back({m->onValue, m->onRemoval, m->context});
  }
  for (const auto& t : targets) t.onRemoval(t.context, ref);
}

}  // namespace quillon::sim
