#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <string>

#include "helper/state.h"
#include "helper/tap.h"
#include "sim/sim_mac.h"

namespace quillon::test {

namespace et = platform::event_type;
namespace field = platform::field;

// The built-in display, 1440 x 900 pt on 300 mm: 4.8 pt/mm.
inline const platform::DisplayDescription kBuiltIn{{0, 0, 1440, 900}, 300, 190, true};

inline sim::SimEvent motion(Point at, int64_t dx = 0, int64_t dy = 0, int64_t subtype = 0,
                            uint32_t type = et::kMouseMoved) {
  sim::SimEvent e;
  e.type = type;
  e.location = at;
  e.ints[field::kMouseEventSubtype] = subtype;
  e.ints[field::kMouseEventDeltaX] = dx;
  e.ints[field::kMouseEventDeltaY] = dy;
  return e;
}

// Gain `ptsPerMM` at every hand speed.
inline std::shared_ptr<const Curve> flatCurve(double ptsPerMM) {
  Curve c;
  c.speed = ptsPerMM;
  c.maxBoost = 1;
  return std::make_shared<const Curve>(c);
}

// Gain rises from 5 pt/mm at rest to 20 pt/mm at 300 mm/s.
inline std::shared_ptr<const Curve> risingCurve() {
  Curve c;
  c.speed = 5;
  c.accel = 1;
  c.maxBoost = 4;
  return std::make_shared<const Curve>(c);
}

// A HID manager that hands its value callback to the test, for device
// handles the system would never give (null, never seen).
class CapturedHid : public platform::Hid {
 public:
  platform::HidManagerRef createManager(platform::HidUsage,
                                        const std::vector<platform::HidUsage>&) override {
    return this;
  }
  void setCallbacks(platform::HidManagerRef, platform::HidValueCallback v,
                    platform::HidRemovalCallback r, void* c) override {
    onValue = v;
    onRemoval = r;
    context = c;
  }
  void schedule(platform::HidManagerRef) override {}
  bool open(platform::HidManagerRef) override { return true; }
  void close(platform::HidManagerRef) override { onValue = nullptr; }
  std::optional<bool> boolProperty(platform::HidDeviceRef, const char*) override { return {}; }
  std::optional<std::string> stringProperty(platform::HidDeviceRef, const char*) override {
    return {};
  }
  bool listenEventAccessGranted() override { return true; }
  void requestListenEventAccess() override {}

  void value(platform::HidDeviceRef device, uint32_t usage, int64_t v) {
    onValue(context, {device, {1, usage}, v});
  }
  platform::HidValueCallback onValue = nullptr;
  platform::HidRemovalCallback onRemoval = nullptr;
  void* context = nullptr;
};

// `base` with another HID service.
inline platform::System withHid(platform::System& base, platform::Hid& hid) {
  return {base.displays,    base.taps,          base.cursor,    base.clock,   base.multitouch, hid,
          base.preferences, base.accessibility, base.workspace, base.runLoop, base.folders};
}

// One simulated Mac with a manual clock, one helper with its tap installed.
class Pipeline : public ::testing::Test {
 protected:
  explicit Pipeline(sim::Mac::Options options = {.manualClock = true})
      : dir_(makeDir()), mac(dir_ / "sim", options), state(mac.system(), Paths::forHome(dir_)) {
    mac.setAccessibility(true);
    mac.setInputMonitoring(true);
    mac.setDisplays({kBuiltIn});
    state.shared.display = state.screens.displayInfo();
    EXPECT_TRUE(startTap(state));
  }
  ~Pipeline() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  template <typename F>
  void withLock(F f) {
    std::lock_guard guard(state.lock);
    f(state.shared);
  }
  void advance(double s) { mac.manualClock()->advance(s); }
  double now() { return mac.manualClock()->uptime(); }

  // A motion event as the system makes it: the pointer moved by (dx, dy)
  // from where it was.
  sim::SimEvent follow(int64_t dx, int64_t dy, int64_t subtype = 0,
                       uint32_t type = et::kMouseMoved) {
    Point c = mac.cursor();
    return motion({c.x + static_cast<double>(dx), c.y + static_cast<double>(dy)}, dx, dy, subtype,
                  type);
  }

 private:
  static std::filesystem::path makeDir() {
    std::random_device rd;
    auto p = std::filesystem::temp_directory_path() / ("quillon-h4-" + std::to_string(rd()));
    std::filesystem::create_directories(p);
    return p;
  }
  std::filesystem::path dir_;

 protected:
  sim::Mac mac;
  HelperState state;
};

}  // namespace quillon::test
