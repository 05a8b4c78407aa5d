// Scroll events through the real tap: acceleration off, speed, direction.
#include <cmath>
#include <limits>

#include "helper/contacts.h"
#include "pipeline_support.h"

namespace quillon::test {
namespace {

struct Deltas {
  int64_t line = 0;
  double fixed = 0;
  int64_t point = 0;
  friend bool operator==(const Deltas&, const Deltas&) = default;
};

sim::SimEvent scroll(Deltas a1, Deltas a2 = {}, bool continuous = false, int64_t momentum = 0) {
  sim::SimEvent e;
  e.type = et::kScrollWheel;
  e.ints[field::kScrollIsContinuous] = continuous;
  e.ints[field::kScrollMomentumPhase] = momentum;
  e.ints[field::kScrollDeltaAxis1] = a1.line;
  e.doubles[field::kScrollFixedPtDeltaAxis1] = a1.fixed;
  e.ints[field::kScrollPointDeltaAxis1] = a1.point;
  e.ints[field::kScrollDeltaAxis2] = a2.line;
  e.doubles[field::kScrollFixedPtDeltaAxis2] = a2.fixed;
  e.ints[field::kScrollPointDeltaAxis2] = a2.point;
  return e;
}
Deltas axis1(const sim::SimEvent& e) {
  return {e.ints[field::kScrollDeltaAxis1], e.doubles[field::kScrollFixedPtDeltaAxis1],
          e.ints[field::kScrollPointDeltaAxis1]};
}
Deltas axis2(const sim::SimEvent& e) {
  return {e.ints[field::kScrollDeltaAxis2], e.doubles[field::kScrollFixedPtDeltaAxis2],
          e.ints[field::kScrollPointDeltaAxis2]};
}

class ScrollTest : public Pipeline {
 protected:
  void prefs(ScrollPrefs trackpad, ScrollPrefs mouse) {
    withLock([&](Guarded& s) {
      s.trackpadScroll = trackpad;
      s.mouseScroll = mouse;
    });
  }
};

TEST_F(ScrollTest, WheelWithAccelerationOffScrollsThreeLinesPerEvent) {
  prefs({}, {.accelOff = true});
  struct Case {
    Deltas in, out;
  };
  const Case cases[] = {
      {{1, 1.0, 10}, {3, 3.0, 30}},       {{7, 7.0, 84}, {3, 3.0, 36}},
      {{-2, -2.0, -24}, {-3, -3.0, -36}}, {{0, 0.4, 5}, {3, 3.0, 38}},
      {{0, -0.005, 0}, {-3, -3.0, -30}},  {{0, 0, 0}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    sim::SimEvent out = mac.post(scroll(c.in, c.in));
    EXPECT_EQ(axis1(out), c.out) << c.in.line << " " << c.in.point;
    EXPECT_EQ(axis2(out), c.out);
  }
  // A fast burst: the wheel spins up, the page does not.
  int64_t lines = 0;
  for (int64_t d = 1; d <= 30; ++d) lines += axis1(mac.post(scroll({d, double(d), 10 * d}))).line;
  EXPECT_EQ(lines, 90);
}

TEST_F(ScrollTest, SpeedKeepsFractionsPerAxis) {
  prefs({}, {.speed = 0.5});
  int64_t seen[4];
  for (int64_t& p : seen) p = axis1(mac.post(scroll({1, 1.0, 1}))).point;
  EXPECT_EQ((std::vector<int64_t>(seen, seen + 4)), (std::vector<int64_t>{0, 1, 0, 1}));

  // Over many events nothing is lost: the total is the exact product,
  // less at most one point, on each axis separately.
  prefs({}, {.speed = 0.3});
  int64_t total1 = 0, total2 = 0;
  for (int i = 0; i < 100; ++i) {
    sim::SimEvent out = mac.post(scroll({1, 1.0, 7}, {-1, -1.0, -11}));
    total1 += axis1(out).point;
    total2 += axis2(out).point;
    EXPECT_EQ(axis1(out).fixed, 0.3);
    EXPECT_EQ(axis1(out).line, 0);
  }
  EXPECT_NEAR(double(total1), 210, 1);
  EXPECT_NEAR(double(total2), -330, 1);

  prefs({}, {.speed = 1.0004});
  EXPECT_EQ(axis1(mac.post(scroll({1, 1.0, 7}))), (Deltas{1, 1.0, 7}));
}

TEST_F(ScrollTest, TrackpadGestureFollowsTheFingersThenCoasts) {
  mac.connectTrackpad({7, 16000, 10000, true});
  ASSERT_TRUE(startMultitouch(state, false));
  prefs({.accelOff = true}, {});
  // macOS accelerates the gesture; the fingers move 2 mm per frame.
  double t = 10, fingersMM = 0;
  int64_t scrolled = 0;
  for (int i = 0; i < 12; ++i) {
    const float y = 0.3f + 0.02f * float(i);
    mac.contactFrame(7, {{1, 4, 0.4f, y}, {2, 4, 0.6f, y}}, t += 0.01);
    if (i > 0) fingersMM += (0.02f * 100);
    scrolled += axis1(mac.post(scroll({1, 1.0, 5 + 4 * i}, {}, true))).point;
  }
  // The first event had no finger movement yet and passed as it came.
  EXPECT_NEAR(double(scrolled - 5), 4.8 * fingersMM, 1.5);

  // Momentum keeps the gesture's last factor: 2 mm at 4.8 pt/mm over 49 pt.
  const double factor = 4.8 * 2 / 49;
  int64_t coasted = 0;
  for (int i = 0; i < 20; ++i) coasted += axis1(mac.post(scroll({2, 2.0, 40}, {}, true, 3))).point;
  EXPECT_NEAR(double(coasted), 20 * 40 * factor, 1.5);

  // Fast fingers against a tiny event: at most 4 times the event.
  mac.contactFrame(7, {{1, 4, 0.4f, 0.1f}, {2, 4, 0.6f, 0.1f}}, t += 0.01);
  EXPECT_LE(axis1(mac.post(scroll({0, 0.1, 2}, {}, true))).point, 9);
}

TEST_F(ScrollTest, EachDeviceGetsItsOwnDirection) {
  state.main.globalNatural = false;
  prefs({.natural = false}, {.natural = true});
  const Deltas d{2, 2.5, 20};
  const Deltas flipped{-2, -2.5, -20};
  EXPECT_EQ(axis1(mac.post(scroll(d))), flipped);  // a wheel
  EXPECT_EQ(axis2(mac.post(scroll({}, d))), flipped);
  EXPECT_EQ(axis1(mac.post(scroll(d, {}, true))), d);     // no pad read: continuous is a trackpad
  EXPECT_EQ(axis1(mac.post(scroll(d, {}, true, 2))), d);  // momentum: same device

  // With a trackpad being read, continuous scrolling without a finger on
  // it for 0.3 s is a Magic Mouse's.
  state.main.padIDs = {42};
  withLock([&](Guarded& s) { s.lastPadTouch = now() - 0.31; });
  EXPECT_EQ(axis1(mac.post(scroll(d, {}, true))), flipped);
  EXPECT_EQ(axis1(mac.post(scroll(d, {}, true, 1))), flipped);
  withLock([&](Guarded& s) { s.lastPadTouch = now() - 0.29; });
  EXPECT_EQ(axis1(mac.post(scroll(d, {}, true))), d);
}

TEST_F(ScrollTest, AbsurdFactorsAndDeltasStayRepresentable) {
  const double kInf = std::numeric_limits<double>::infinity();
  const int64_t kMin = std::numeric_limits<int64_t>::min();
  state.main.globalNatural = false;
  for (bool off : {false, true}) {
    for (double speed : {kInf, -kInf, std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300}) {
      prefs({}, {.natural = true, .accelOff = off, .speed = speed});
      for (const Deltas& in : {Deltas{kMin, -1e300, kMin}, Deltas{5, 5.0, 1 << 30}, Deltas{}}) {
        sim::SimEvent out = mac.post(scroll(in, in));
        for (const Deltas& d : {axis1(out), axis2(out)}) {
          EXPECT_TRUE(std::isfinite(d.fixed)) << speed;
          if (!off && !std::isfinite(speed)) continue;  // passed on as they came, negated
          EXPECT_LE(std::abs(double(d.line)), 2147483647.0) << speed;
          EXPECT_LE(std::abs(double(d.point)), 2147483647.0) << speed;
        }
      }
    }
  }
  // A later ordinary event is not disturbed by what came before.
  prefs({}, {.natural = false, .speed = 0.5});
  for (int i = 0; i < 2; ++i) mac.post(scroll({1, 1.0, 1}));
  EXPECT_EQ(axis1(mac.post(scroll({2, 2.0, 20}))).point, 10);
}

}  // namespace
}  // namespace quillon::test
