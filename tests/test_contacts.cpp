// Trackpad contact frames, from the framework's thread to the tap.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "helper/contacts.h"
#include "helper/log.h"
#include "pipeline_support.h"

namespace quillon::test {
namespace {

constexpr uint64_t kPad = 7;       // 160 x 100 mm
constexpr double kMM = 1.0 / 160;  // one millimetre across, normalized

class ContactsTest : public Pipeline {
 protected:
  ContactsTest() {
    mac.connectTrackpad({kPad, 16000, 10000, true});
    log_ = std::tmpfile();
    setLogStream(log_);
    EXPECT_TRUE(startMultitouch(state, false));
    withLock([](Guarded& s) { s.trackpadCurve = flatCurve(2); });
    mac.moveCursor({700, 450});
    mac.post(follow(0, 0, 3));  // where the pointer starts
  }
  ~ContactsTest() override {
    setLogStream(nullptr);
    std::fclose(log_);
  }
  std::string logText() {
    std::rewind(log_);
    std::string text(4096, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), log_));
    return text;
  }
  // One frame `dt` after the previous one.
  void frame(const std::vector<sim::SimFinger>& fingers, double dt = 0.01) {
    t_ += dt;
    advance(dt);
    mac.contactFrame(kPad, fingers, t_);
  }
  Point tapMove() {
    Point before = mac.cursor();
    sim::SimEvent out = mac.post(follow(0, 0, 3));
    return {out.location.x - before.x, out.location.y - before.y};
  }
  double t_ = 50;
  std::FILE* log_ = nullptr;
};

TEST_F(ContactsTest, StrokeAcrossFramesFollowsTheFinger) {
  EXPECT_NE(logText().find("reading built-in trackpad (160 x 100 mm)"), std::string::npos);
  frame({{1, 4, 0.5f, 0.5f}});  // appears: no step yet
  EXPECT_EQ(tapMove(), (Point{0, 0}));
  frame({{1, 4, float(0.5 + kMM), 0.5f}});
  withLock([](Guarded& s) { EXPECT_NEAR(s.smoothV, 40, 1e-3); });  // 1 mm in 10 ms
  Point d = tapMove();
  EXPECT_NEAR(d.x, 2, 1e-4);  // 1 mm at 2 pt/mm
  // Up on the surface is up on the screen.
  frame({{1, 4, float(0.5 + kMM), 0.6f}});
  EXPECT_NEAR(tapMove().y, -20, 1e-3);
}

TEST_F(ContactsTest, TravelDoesNotDependOnHowFramesAndEventsSplitIt) {
  withLock([](Guarded& s) { s.trackpadCurve = risingCurve(); });
  // 30 mm at 100 mm/s, as 5 ms or 10 ms frames, one event per 1, 2 or 3 frames.
  auto startStroke = [&] {
    withLock([](Guarded& s) { s.smoothV = 0; });
    mac.moveCursor({200, 450});
    frame({{9, 4, 0.2f, 0.5f}}, 0.2);
  };
  auto stroke = [&](double frameS, int framesPerEvent) {
    startStroke();
    tapMove();
    const int frames = int(std::lround(0.3 / frameS));
    double total = 0;
    for (int i = 1; i <= frames; ++i) {
      frame({{9, 4, float(0.2 + i * 100 * frameS * kMM), 0.5f}}, frameS);
      if (i % framesPerEvent == 0 || i == frames) total += tapMove().x;
    }
    frame({}, 0.2);
    return total;
  };
  const double reference = stroke(0.01, 1);
  EXPECT_GT(reference, 30 * 5);
  EXPECT_NEAR(stroke(0.01, 3), reference, 1e-6);
  EXPECT_NEAR(stroke(0.005, 2), reference, reference * 0.02);

  // The same 30 mm, faster: never less travel.
  double previous = 0;
  for (double mmPerS : {50, 100, 200, 400}) {
    startStroke();
    tapMove();
    double total = 0;
    for (int i = 1; i <= 30; ++i) {
      frame({{9, 4, float(0.2 + i * kMM), 0.5f}}, 1 / mmPerS);
      total += tapMove().x;
    }
    EXPECT_GE(total, previous) << mmPerS;
    previous = total;
  }
}

TEST_F(ContactsTest, TwoFingersOneStillFollowsTheMovingOneAndFeedsScrolling) {
  frame({{1, 4, 0.3f, 0.5f}, {2, 4, 0.6f, 0.5f}});
  frame({{1, 4, 0.3f, 0.5f}, {2, 4, float(0.6 + 2 * kMM), 0.5f}});
  EXPECT_NEAR(tapMove().x, 4, 1e-4);
  withLock([](Guarded& s) { EXPECT_NEAR(s.scrollMoveX, 1, 1e-4); });  // the average
}

TEST_F(ContactsTest, PausesAndRestingFingers) {
  frame({{1, 4, 0.5f, 0.5f}});
  frame({{1, 4, float(0.5 + kMM), 0.5f}});
  frame({{1, 4, float(0.5 + 2 * kMM), 0.5f}});
  advance(0.1);  // the event comes late: only the latest frame's step
  EXPECT_NEAR(tapMove().x, 2, 1e-4);

  // A frame long after the previous one is a new stroke.
  frame({{1, 4, float(0.5 + 5 * kMM), 0.5f}}, 0.5);
  withLock([](Guarded& s) {
    EXPECT_EQ(s.lastStepX, 0);
    EXPECT_LT(s.smoothV, 40);
  });
  EXPECT_EQ(tapMove(), (Point{0, 0}));

  // Fingers resting for 60 ms of frames before the event comes: the event
  // is rewritten, the pointer stays.
  frame({{1, 4, float(0.5 + 6 * kMM), 0.5f}});
  tapMove();
  frame({{1, 4, float(0.5 + 7 * kMM), 0.5f}});
  for (int i = 0; i < 6; ++i)
    mac.contactFrame(kPad, {{1, 4, float(0.5 + 7 * kMM), 0.5f}}, t_ += 0.01);
  sim::SimEvent out = mac.post(follow(3, 2, 3));
  EXPECT_EQ(out.ints[field::kMouseEventDeltaX], 0);
  EXPECT_EQ(out.location, mac.cursor());
}

TEST_F(ContactsTest, WithoutCurveOrFramesMacOSMoves) {
  withLock([](Guarded& s) { s.trackpadCurve = nullptr; });
  frame({{1, 4, 0.5f, 0.5f}});
  frame({{1, 4, 0.6f, 0.5f}});
  sim::SimEvent e = follow(5, 0, 3);
  EXPECT_EQ(mac.post(e).location, e.location);
}

TEST_F(ContactsTest, StartingTrackpads) {
  mac.connectTrackpad({8, 7000, 5000, false});  // a Magic Mouse surface
  mac.connectTrackpad({9, 14000, 9000, false});
  mac.setStartResult(9, 1);
  EXPECT_TRUE(startMultitouch(state, false));
  withLock([](Guarded& s) { EXPECT_EQ(s.pads.size(), 2u); });  // 7 and 9
  EXPECT_EQ(state.main.padIDs, (std::vector<uint64_t>{kPad}));

  mac.setStartResult(9, 0);  // tried again by a later call
  EXPECT_TRUE(startMultitouch(state, false));
  EXPECT_NE(logText().find("] reading trackpad (140 x 90 mm)"), std::string::npos);
  EXPECT_EQ(state.main.padIDs.size(), 2u);

  EXPECT_TRUE(startMultitouch(state, true));  // after a wake: all again
  EXPECT_EQ(state.main.padIDs.size(), 2u);
  EXPECT_EQ(multitouchDeviceCount(state), 3);

  HelperState other(mac.system(), state.paths);
  mac.setMissingFunction(platform::MTFunction::deviceStart);
  EXPECT_FALSE(startMultitouch(other, false));
  mac.setDeviceListAvailable(false);
  EXPECT_TRUE(startMultitouch(other, false));  // pads known from before
  mac.setMultitouchLoadable(false);
  HelperState none(mac.system(), state.paths);
  EXPECT_FALSE(startMultitouch(none, false));
}

// Records as the framework lays them out.
std::vector<unsigned char> records(int n, float x, int32_t state = 4) {
  std::vector<unsigned char> bytes(size_t(n) * platform::kMTFingerSize);
  for (int i = 0; i < n; ++i) {
    unsigned char* r = bytes.data() + size_t(i) * platform::kMTFingerSize;
    const int32_t id = i + 1;
    const float y = 0.5f;
    std::memcpy(r + platform::kMTFingerIdentifierOffset, &id, 4);
    std::memcpy(r + platform::kMTFingerStateOffset, &state, 4);
    std::memcpy(r + platform::kMTFingerXOffset, &x, 4);
    std::memcpy(r + platform::kMTFingerYOffset, &y, 4);
  }
  return bytes;
}

TEST_F(ContactsTest, BadFramesAreSafe) {
  auto raw = [&](const std::vector<unsigned char>& r, int32_t count) {
    EXPECT_TRUE(mac.contactFrameRaw(kPad, r.data(), count, t_ += 0.01));
  };
  const auto at = records(17, 0.5f), moved = records(17, float(0.5 + kMM));
  for (int32_t count : {-1, std::numeric_limits<int32_t>::min(), 0}) raw(at, count);
  EXPECT_TRUE(mac.contactFrameRaw(kPad, nullptr, 5, t_ += 0.01));
  EXPECT_EQ(tapMove(), (Point{0, 0}));

  // 17 touching: the 17th is dropped. A count far beyond the records is
  // read no further than 16 touching ones.
  raw(at, 17);
  EXPECT_EQ(state.contact.prevCount, kMaxTouches);
  raw(moved, std::numeric_limits<int32_t>::max());
  EXPECT_NEAR(tapMove().x, 2, 1e-4);

  // Records that are not touching, or have no place, move nothing.
  auto nan = records(2, std::numeric_limits<float>::quiet_NaN());
  raw(nan, 2);
  raw(records(3, 0.9f, 2), 3);
  EXPECT_EQ(tapMove(), (Point{0, 0}));
  withLock([](Guarded& s) { EXPECT_TRUE(std::isfinite(s.smoothV)); });

  // A frame without a time stamp does not stall those after it.
  raw(records(1, 0.5f), 1);
  EXPECT_TRUE(mac.contactFrameRaw(kPad, records(1, 0.5f).data(), 1,
                                  std::numeric_limits<double>::quiet_NaN()));
  raw(records(1, float(0.5 + kMM)), 1);
  EXPECT_NEAR(tapMove().x, 2, 1e-4);
  EXPECT_EQ(contactCallback(nullptr, nullptr, nullptr, 3, 0, 0), 0);
}

TEST_F(ContactsTest, ExtremeCurvesAndVanishingPads) {
  Curve extreme;
  extreme.speed = extreme.accel = extreme.maxBoost = 1e300;
  withLock([&](Guarded& s) { s.trackpadCurve = std::make_shared<const Curve>(extreme); });
  frame({{1, 4, 0.5f, 0.5f}});
  frame({{1, 4, 0.6f, 0.5f}});
  EXPECT_EQ(tapMove(), (Point{0, 0}));
  withLock([](Guarded& s) { EXPECT_TRUE(std::isfinite(s.pendingX + s.lastStepX + s.smoothV)); });

  // The pad vanishes mid-stroke and another one comes; unknown frames use
  // a 140 x 85 mm surface.
  withLock([](Guarded& s) { s.trackpadCurve = flatCurve(2); });
  mac.disconnect(kPad);
  EXPECT_FALSE(mac.contactFrameRaw(kPad, records(1, 0.5f).data(), 1, t_ += 0.01));
  mac.connectTrackpad({11, 12000, 8000, false});
  EXPECT_TRUE(startMultitouch(state, false));
  contactCallback(&state, nullptr, records(1, 0.5f).data(), 1, t_ += 0.01, 0);
  contactCallback(&state, nullptr, records(1, 0.6f).data(), 1, t_ += 0.01, 0);
  EXPECT_NEAR(tapMove().x, 0.1f * 140 * 2, 1e-3);
}

}  // namespace
}  // namespace quillon::test
