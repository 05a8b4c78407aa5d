#include "helper/mouse_hid.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "helper/log.h"

namespace quillon {

namespace {

constexpr uint32_t kGenericDesktopPage = 1;
constexpr uint32_t kMouseUsage = 2;
constexpr uint32_t kXUsage = 48;
constexpr uint32_t kYUsage = 49;

// Main run loop. Sums raw counts; the tap converts them with the mouse's DPI.
void onHidValue(void* context, const platform::HidValue& value) {
  if (context == nullptr) return;
  HelperState& state = *static_cast<HelperState*>(context);
  MainState& m = state.main;
  if (!m.mouseActive) return;
  if (value.usage.page != kGenericDesktopPage) return;
  if (value.usage.usage != kXUsage && value.usage.usage != kYUsage) return;
  // A value without a device cannot be told from a trackpad's.
  if (value.device == nullptr) return;

  if (value.device != m.lastDevKey) {
    m.lastDevKey = value.device;
    auto known = m.isMouseByDevice.find(value.device);
    if (known == m.isMouseByDevice.end()) {
      known = m.isMouseByDevice.emplace(value.device, !isTrackpadDevice(state, value.device)).first;
    }
    m.lastDevIsMouse = known->second;
  }
  if (!m.lastDevIsMouse) return;

  if (value.usage.usage == kXUsage) {
    m.mouseCountX += static_cast<double>(value.integer);
  } else {
    m.mouseCountY += static_cast<double>(value.integer);
  }
  m.hidWorking = true;
}

// Main run loop. A later device may get the same handle.
void onHidRemoval(void* context, platform::HidDeviceRef device) {
  if (context == nullptr) return;
  MainState& m = static_cast<HelperState*>(context)->main;
  m.isMouseByDevice.erase(device);
  if (m.lastDevKey == device) m.lastDevKey = nullptr;
}

}  // namespace

void startMouseHID(HelperState& state) {
  platform::Hid& hid = state.system.hid;
  MainState& m = state.main;
  platform::HidManagerRef manager =
      hid.createManager({kGenericDesktopPage, kMouseUsage},
                        {{kGenericDesktopPage, kXUsage}, {kGenericDesktopPage, kYUsage}});
  hid.setCallbacks(manager, onHidValue, onHidRemoval, &state);
  hid.schedule(manager);
  if (hid.open(manager)) {
    m.hidOpenFailed = false;
  } else {
    m.hidOpenFailed = true;
    logLine(
        "can't read raw mouse movement (Input Monitoring not allowed); using macOS's mouse "
        "movement instead");
    hid.requestListenEventAccess();
  }
  m.hidManager = manager;
}

bool isTrackpadDevice(HelperState& state, platform::HidDeviceRef device) {
  platform::Hid& hid = state.system.hid;
  if (hid.boolProperty(device, "Built-In").value_or(false)) return true;
  std::optional<std::string> product = hid.stringProperty(device, "Product");
  if (!product) return false;
  std::transform(product->begin(), product->end(), product->begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return product->find("trackpad") != std::string::npos;
}

}  // namespace quillon
