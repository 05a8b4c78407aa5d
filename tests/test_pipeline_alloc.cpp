// The per-event path must not allocate: a heap call on the tap or the
// contact thread can wait on the allocator's lock long enough for the
// system to switch the tap off.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "counting_allocator.h"
#include "helper/contacts.h"
#include "helper/mouse_hid.h"
#include "pipeline_support.h"
#include "sim/sim_multitouch.h"

namespace quillon::test {
namespace {

constexpr uint64_t kPad = 7;

// n touching fingers in a column at x, as the framework lays them out.
std::vector<unsigned char> fingers(int n, float x) {
  std::vector<sim::SimFinger> column;
  for (int i = 0; i < n; ++i) column.push_back({i + 1, 4, x, 0.2f + 0.04f * float(i)});
  return sim::contactRecords(column);
}

// The simulated Mac without event records; raw mouse values go straight to
// the helper's callback, as the system's HID manager would call it.
class AllocationTest : public ::testing::Test {
 protected:
  AllocationTest()
      : root_(std::filesystem::temp_directory_path() / "quillon-h4-alloc"),
        mac(root_, {.manualClock = true, .recordEvents = false}),
        system(withHid(mac.system(), hid)),
        state(system, Paths::forHome(root_)) {}
  ~AllocationTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::filesystem::path root_;
  sim::Mac mac;
  CapturedHid hid;
  platform::System system;
  HelperState state;
};

TEST_F(AllocationTest, NoHeapUseOnThePerEventPath) {
  mac.setAccessibility(true);
  mac.setDisplays({kBuiltIn, {{1440, 0, 1920, 1080}, 520, 290, false}});
  state.shared.display = state.screens.displayInfo();
  ASSERT_TRUE(startTap(state));
  mac.connectTrackpad({kPad, 16000, 10000, true});
  ASSERT_TRUE(startMultitouch(state, false));
  startMouseHID(state);
  state.main.mouseActive = true;
  {
    std::lock_guard guard(state.lock);
    Guarded& s = state.shared;
    s.mouseCurve = risingCurve();
    s.trackpadCurve = risingCurve();
    s.trackpadScroll = {.natural = false, .accelOff = true, .speed = 1.5};
    s.mouseScroll = {.natural = true, .accelOff = true, .speed = 0.7};
  }
  platform::MTDeviceRef pad = nullptr;
  {
    std::lock_guard guard(state.lock);
    pad = state.shared.pads.at(0).ref;
  }
  int mouse = 0;  // a device handle
  const std::vector<std::vector<unsigned char>> frames = {fingers(2, 0.40f), fingers(2, 0.41f),
                                                          fingers(16, 0.42f), fingers(16, 0.43f)};

  double t = 0;
  auto run = [&](int rounds) {
    for (int i = 0; i < rounds; ++i) {
      mac.manualClock()->advance(0.004);
      const auto& f = frames[size_t(i) % frames.size()];
      contactCallback(&state, pad, f.data(), int32_t(f.size() / platform::kMTFingerSize),
                      t += 0.004, i);
      // Back and forth across the two displays' border: display changes.
      const double x = i % 20 < 10 ? 1300 + 20 * (i % 10) : 1500 - 20 * (i % 10);
      sim::SimEvent moves[] = {motion({x, 500}, 0, 0, 0), motion({x, 500}, 1, 0, 3),
                               motion({x, 500}, 0, 1, 0, et::kLeftMouseDragged)};
      for (sim::SimEvent& e : moves) {
        hid.value(&mouse, 48, (i % 7) - 3);
        tapCallback(&state, e.type, &e);
      }
      sim::SimEvent wheel, pixels;
      wheel.type = pixels.type = et::kScrollWheel;
      wheel.ints[field::kScrollDeltaAxis1] = 1 + i % 5;
      wheel.doubles[field::kScrollFixedPtDeltaAxis1] = 1 + i % 5;
      wheel.ints[field::kScrollPointDeltaAxis1] = 10 * (1 + i % 5);
      pixels.ints[field::kScrollIsContinuous] = 1;
      pixels.ints[field::kScrollMomentumPhase] = i % 3 == 0 ? 2 : 0;
      pixels.ints[field::kScrollPointDeltaAxis2] = 3 + i % 4;
      tapCallback(&state, wheel.type, &wheel);
      tapCallback(&state, pixels.type, &pixels);
    }
  };
  run(200);  // warm-up: first sight of each device, the allocator's caches
  const long before = allocationCount();
  run(2000);
  EXPECT_EQ(allocationCount(), before);
  std::lock_guard guard(state.lock);
  EXPECT_EQ(state.shared.framesSeen, 2200);
  EXPECT_TRUE(state.main.hidWorking);
}

}  // namespace
}  // namespace quillon::test
