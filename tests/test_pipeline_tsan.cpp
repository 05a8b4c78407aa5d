// The contact thread and the tap at the same time, with curve swaps and
// display changes on the main thread, as the helper runs them.
#include <atomic>
#include <cmath>
#include <thread>

#include "helper/contacts.h"
#include "pipeline_support.h"

namespace quillon::test {
namespace {

constexpr uint64_t kPad = 7;

TEST_F(Pipeline, ContactThreadAndTapRunTogether) {
  mac.connectTrackpad({kPad, 16000, 10000, true});
  ASSERT_TRUE(startMultitouch(state, false));
  withLock([](Guarded& s) {
    s.trackpadCurve = risingCurve();
    s.trackpadScroll = {.natural = true, .accelOff = true, .speed = 1};
  });
  state.system.displays.setReconfigurationCallback(
      [this](bool beginning) { onDisplayReconfiguration(state, beginning); });

  constexpr int64_t kFrames = 3000;
  std::atomic<bool> done{false};
  std::thread framework([&] {
    double t = 100;
    for (int i = 0; i < kFrames; ++i) {
      const float x = 0.3f + 0.001f * float(i % 200);
      mac.contactFrame(kPad, {{1, 4, x, 0.5f}, {2, 4, x + 0.1f, 0.5f}}, t += 0.005);
    }
    done = true;
  });

  int events = 0;
  while (!done || events < 100) {
    advance(0.003);
    mac.post(follow(1, 0, 3));
    sim::SimEvent wheel;
    wheel.type = et::kScrollWheel;
    wheel.ints[field::kScrollIsContinuous] = 1;
    wheel.ints[field::kScrollPointDeltaAxis2] = 6;
    mac.post(wheel);
    if (++events % 50 == 0) {
      // A new configuration: swapped in under the lock; the main thread
      // keeps the old curve alive, so the contact thread never frees one.
      std::shared_ptr<const Curve> curve = events % 100 == 0 ? risingCurve() : flatCurve(3);
      withLock([&](Guarded& s) { std::swap(s.trackpadCurve, curve); });
      state.main.retiredCurves.push_back(std::move(curve));
    }
    if (events % 300 == 0) mac.setDisplays({kBuiltIn});
  }
  framework.join();

  withLock([&](Guarded& s) { EXPECT_EQ(s.framesSeen, kFrames); });
  EXPECT_TRUE(std::isfinite(mac.cursor().x) && std::isfinite(mac.cursor().y));
}

}  // namespace
}  // namespace quillon::test
