// Motion through the real tap: mouse counts, foreign warps, drags, tablets,
// clamping and values no curve should produce.
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <cstdio>

#include "helper/log.h"
#include "helper/mouse_hid.h"
#include "helper/pointer.h"
#include "pipeline_support.h"

namespace quillon::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr uint64_t kMouse = 1;

class PointerTest : public Pipeline {
 protected:
  PointerTest() {
    mac.connectHidDevice({kMouse, "USB Optical Mouse", false});
    startMouseHID(state);
    state.main.mouseActive = true;
  }
  void setMouseCurve(std::shared_ptr<const Curve> c, double countsPerMM = 1600 / 25.4) {
    withLock([&](Guarded& s) {
      s.mouseCurve = std::move(c);
      s.mouseCPMM = countsPerMM;
    });
  }
  // Raw counts, then the system's own event for them (it moved 1 pt).
  sim::SimEvent mouseStep(int64_t cx, int64_t cy, double dt = 0.001, uint64_t device = kMouse) {
    advance(dt);
    if (cx != 0) mac.hidValue(device, 48, cx);
    if (cy != 0) mac.hidValue(device, 49, cy);
    return mac.post(follow(1, 0));
  }
  Point travel(Point from) { return {mac.cursor().x - from.x, mac.cursor().y - from.y}; }
};

TEST_F(PointerTest, MouseBurstFollowsRawCountsThroughTheDPI) {
  setMouseCurve(flatCurve(10));
  mac.post(motion({700, 450}));
  const Point start = mac.cursor();
  for (int i = 0; i < 50; ++i) {
    sim::SimEvent out = mouseStep(16, -8);
    EXPECT_EQ(out.ints[field::kMouseEventDeltaX], 3);  // 2.54 pt
    EXPECT_EQ(out.ints[field::kMouseEventDeltaY], -1);
    EXPECT_EQ(out.location, mac.cursor());
  }
  EXPECT_NEAR(travel(start).x, 50 * 16 / (1600 / 25.4) * 10, 1e-9);
  EXPECT_NEAR(travel(start).y, -50 * 8 / (1600 / 25.4) * 10, 1e-9);

  // A pause changes nothing for a flat curve; half the DPI doubles the way.
  setMouseCurve(flatCurve(10), 800 / 25.4);
  const Point before = mac.cursor();
  mouseStep(16, 0, 1.0);
  EXPECT_NEAR(travel(before).x, 16 / (800 / 25.4) * 10, 1e-9);
}

TEST_F(PointerTest, FasterMouseNeverMovesLessAndKeepsDirection) {
  setMouseCurve(risingCurve());
  double previous = 0;
  for (double dt : {0.05, 0.02, 0.008, 0.002, 0.0005}) {
    state.main.mouseSmoothV = 0;
    mac.post(motion({700, 450}));
    const Point start = mac.cursor();
    for (int i = 0; i < 5; ++i) mouseStep(30, 20, dt);
    const Point d = travel(start);
    EXPECT_GE(std::hypot(d.x, d.y), previous - 1e-9) << dt;
    EXPECT_NEAR(d.x / d.y, 1.5, 1e-9);
    previous = std::hypot(d.x, d.y);
  }
}

TEST_F(PointerTest, WithoutRawReportsTheEventDeltasCountAndMacModeDropsCounts) {
  HelperState fresh(mac.system(), state.paths);  // raw values refused: hidWorking stays false
  mac.setInputMonitoring(false);
  std::FILE* log = std::tmpfile();
  setLogStream(log);
  startMouseHID(fresh);
  setLogStream(nullptr);
  std::rewind(log);
  char line[256] = {};
  ASSERT_TRUE(std::fgets(line, sizeof line, log));
  std::fclose(log);
  EXPECT_NE(std::string(line).find("] can't read raw mouse movement (Input Monitoring not "
                                   "allowed); using macOS's mouse movement instead"),
            std::string::npos);
  EXPECT_TRUE(fresh.main.hidOpenFailed);
  EXPECT_EQ(mac.records("listenEventAccessRequested").size(), 1u);
  {
    std::lock_guard guard(fresh.lock);
    fresh.shared.mouseCurve = flatCurve(1);
    fresh.shared.mouseCPMM = 1;
  }
  fresh.main.cur = Point{100, 100};
  sim::SimEvent e = motion({105, 100}, 5, 0);
  tapCallback(&fresh, et::kMouseMoved, &e);
  EXPECT_EQ(mac.cursor(), (Point{105, 100}));

  // No curve here: counts seen meanwhile must not move the pointer later.
  mac.post(motion({300, 300}));
  mac.hidValue(kMouse, 48, 500);
  mac.post(motion({301, 300}, 1, 0));
  EXPECT_EQ(state.main.cur, (Point{301, 300}));
  setMouseCurve(flatCurve(1), 1);
  mac.post(motion({302, 300}, 1, 0));
  EXPECT_EQ(mac.cursor(), (Point{301, 300}));
}

TEST_F(PointerTest, OnlyCountsOfRealMiceAreUsed) {
  setMouseCurve(flatCurve(1), 1);
  mac.connectHidDevice({2, "Apple Magic Trackpad", false});
  mac.connectHidDevice({3, "Internal Keyboard / Trackpad", true});
  mac.post(motion({700, 450}));
  mouseStep(1, 0);  // raw values arrive: the events' own deltas no longer count
  const Point start = mac.cursor();
  mouseStep(10, 0, 0.01, 2);
  mouseStep(10, 0, 0.01, 3);
  mouseStep(4, 0);
  EXPECT_EQ(travel(start).x, 4);

  // The mouse goes away mid-stream; its handle may come back as a trackpad.
  mac.disconnect(kMouse);
  mouseStep(10, 0, 0.01, kMouse);
  mac.connectHidDevice({kMouse, "Magic Trackpad 2", false});
  const Point later = mac.cursor();
  mouseStep(10, 0, 0.01, kMouse);
  EXPECT_EQ(travel(later).x, 0);
}

TEST_F(PointerTest, ValuesFromHandlesNeverSeenAreSafe) {
  CapturedHid hid;
  platform::System system = withHid(mac.system(), hid);
  HelperState other(system, state.paths);
  startMouseHID(other);
  other.main.mouseActive = true;
  int unknown = 0;
  hid.value(&unknown, 48, 6);  // no properties at all: a mouse
  hid.value(nullptr, 48, 100);
  hid.value(&unknown, 47, 100);  // not X or Y
  hid.onRemoval(hid.context, &unknown);
  hid.value(nullptr, 49, 100);  // the last device went away: still nobody's
  EXPECT_EQ(other.main.mouseCountX, 6);
  EXPECT_EQ(other.main.mouseCountY, 0);
}

TEST_F(PointerTest, ForeignWarpsDragsAndTablets) {
  setMouseCurve(flatCurve(1), 1);
  mac.post(motion({700, 450}));
  // Another program moved the pointer 200 pt away: start from the event.
  mac.moveCursor({500, 450});
  mac.hidValue(kMouse, 48, 3);
  mac.post(motion({501, 450}, 1, 0));
  EXPECT_EQ(mac.cursor(), (Point{504, 450}));

  // Drags with any button move exactly like plain motion.
  for (uint32_t type : {et::kLeftMouseDragged, et::kRightMouseDragged, et::kOtherMouseDragged}) {
    mac.hidValue(kMouse, 48, 2);
    const Point c = mac.cursor();
    mac.post(motion({c.x + 1, c.y}, 1, 0, 0, type));
    EXPECT_EQ(mac.cursor(), (Point{c.x + 2, c.y})) << type;
  }

  // A tablet knows where it points: untouched, and we continue from there.
  const uint64_t warps = mac.warpCount();
  sim::SimEvent pen = motion({900, 300}, 7, 7, 1);
  sim::SimEvent out = mac.post(pen);
  EXPECT_EQ(out.location, pen.location);
  EXPECT_EQ(out.ints, pen.ints);
  EXPECT_EQ(mac.warpCount(), warps);
  mac.hidValue(kMouse, 49, 5);
  mac.post(motion({900, 301}, 0, 1));
  EXPECT_EQ(mac.cursor(), (Point{900, 305}));
}

TEST_F(PointerTest, StepLimitAndRounding) {
  setMouseCurve(flatCurve(1), 2);
  mac.post(motion({100, 100}));
  mouseStep(600, 800);  // 300, 400 pt
  EXPECT_EQ(mac.cursor(), (Point{190, 220}));
  for (int64_t counts : {5, -5}) {
    sim::SimEvent out = mouseStep(counts, 0);  // 2.5 pt
    EXPECT_EQ(out.ints[field::kMouseEventDeltaX], counts > 0 ? 3 : -3);
  }
}

// The delta written for a step is exactly std::round's, halves and the
// doubles next to them included.
TEST(RoundedDelta, IsStdRoundForEveryStep) {
  std::vector<double> steps = {0,
                               -0.0,
                               0.49999999999999994,
                               0.5,
                               1.5,
                               2.5,
                               149.5,
                               150,
                               150.00000000000003,
                               std::numeric_limits<double>::denorm_min()};
  for (int half = 0; half <= 301; ++half) {
    const double h = half * 0.5;
    steps.insert(steps.end(), {h, std::nextafter(h, 0.0), std::nextafter(h, 1e9)});
  }
  std::mt19937_64 random(14);
  std::uniform_real_distribution<double> anyStep(-151, 151);
  for (int i = 0; i < 200000; ++i) steps.push_back(anyStep(random));
  for (const double step : std::vector<double>(steps)) steps.push_back(-step);
  for (const double step : steps) {
    ASSERT_EQ(roundedDelta(step), static_cast<int64_t>(std::round(step))) << step;
  }
}

TEST_F(PointerTest, ClampsToTheNearestOfTwoDisplays) {
  // An external display, larger and raised, right of the built-in one.
  const Rect external{1440, -540, 2560, 1440};
  mac.setDisplays({kBuiltIn, {external, 600, 340, false}});
  state.screens.refreshScreens();
  setMouseCurve(flatCurve(1), 1);
  struct Case {
    Point from;
    int64_t cx, cy;
    Point expected;
  };
  const Case cases[] = {
      {{1430, 450}, 50, 0, {1480, 450}},      // onto the external one
      {{3990, 0}, 100, 0, {3999.99, 0}},      // its right edge
      {{3000, 850}, 0, 120, {3000, 899.99}},  // its bottom edge
      {{1500, 850}, 0, 100, {1500, 899.99}},  // the gap below it: nearer to it
      {{10, 10}, -100, -100, {0, 0}},         // the built-in's top left
      {{1435, 895}, 30, 30, {1465, 899.99}},  // the corner between them
  };
  for (const Case& c : cases) {
    mac.post(motion(c.from));
    mac.hidValue(kMouse, 48, c.cx);
    mac.hidValue(kMouse, 49, c.cy);
    mac.post(motion(c.from));
    EXPECT_NEAR(mac.cursor().x, c.expected.x, 1e-9) << c.from.x << "," << c.from.y;
    EXPECT_NEAR(mac.cursor().y, c.expected.y, 1e-9) << c.from.x << "," << c.from.y;
  }
  withLock([&](Guarded& s) { EXPECT_EQ(s.display.bounds, external); });

  // The external display goes away: the display in use follows.
  state.system.displays.setReconfigurationCallback(
      [this](bool beginning) { onDisplayReconfiguration(state, beginning); });
  mac.setDisplays({kBuiltIn});
  withLock([&](Guarded& s) { EXPECT_EQ(s.display.bounds, kBuiltIn.bounds); });
}

TEST_F(PointerTest, NonFiniteGainsAndLocationsLeaveThePointerPut) {
  Curve extreme;  // a custom curve pushed to infinity
  extreme.speed = extreme.accel = extreme.maxBoost = 1e300;
  setMouseCurve(std::make_shared<const Curve>(extreme));
  mac.post(motion({700, 450}));
  sim::SimEvent out = mouseStep(40, 40);
  EXPECT_EQ(mac.cursor(), (Point{700, 450}));
  EXPECT_EQ(out.location, mac.cursor());
  EXPECT_EQ(out.ints[field::kMouseEventDeltaX], 0);

  setMouseCurve(flatCurve(1), 1);
  mac.hidValue(kMouse, 48, 4);
  mac.post(motion({kNaN, 450}, 1, 0));
  EXPECT_EQ(mac.cursor(), (Point{704, 450}));
  mac.post(motion({kNaN, kNaN}, 0, 0, 1));  // a tablet event
  EXPECT_EQ(state.main.cur, (Point{704, 450}));

  // Nothing to move from and nowhere given: the event passes as it came.
  HelperState fresh(mac.system(), state.paths);
  fresh.shared.mouseCurve = flatCurve(1);
  sim::SimEvent lost = motion({kNaN, kNaN}, 3, 0);
  EXPECT_EQ(tapCallback(&fresh, et::kMouseMoved, &lost), &lost);
  EXPECT_TRUE(std::isnan(lost.location.x));
  EXPECT_FALSE(fresh.main.cur.has_value());
}

TEST_F(PointerTest, TapRefusedOrSwitchedOffBySystem) {
  mac.setAccessibility(false);
  HelperState refused(mac.system(), state.paths);
  EXPECT_FALSE(startTap(refused));
  EXPECT_EQ(refused.main.tapPort, nullptr);

  setMouseCurve(flatCurve(1), 1);
  mac.post(motion({700, 450}));
  mac.disableTaps(et::kTapDisabledByTimeout);
  mac.hidValue(kMouse, 48, 9);
  mac.post(motion({701, 450}, 1, 0));
  EXPECT_EQ(mac.cursor(), (Point{709, 450}));
}

}  // namespace
}  // namespace quillon::test
