// The run ending itself while a finger rests on the trackpad: the framework
// keeps sending frames on its own thread, whatever the run loop does. Once
// runBackground() has returned, its caller destroys the state at once, so
// no frame, and no other callback, may reach it after that.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "background_support.h"
#include "helper/background.h"
#include "sim/sim_mac.h"

namespace quillon::test {
namespace {

constexpr const char* kRestartLine =
    "Input Monitoring allowed: restarting to read the mouse directly";

// Waits in real time, at most 10 s (a sanitizer makes the machine slow).
bool waitFor(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

class RunEnd : public Background {
 protected:
  static constexpr uint64_t kPad = 1;
  static constexpr uint64_t kMouse = 2;
  static constexpr uint32_t kXUsage = 48;

  RunEnd() {
    mac_.connectTrackpad({.id = kPad});
    mac_.connectHidDevice({.id = kMouse});
    // With a curve, each frame also looks the speed up on it.
    writeConfig(configText(device("custom"), device("mac")));
    mac_.startFrameStream(kPad);
  }
  ~RunEnd() override { mac_.stopFrameStream(); }

  // The run's state, on `sys` instead of the Mac's own services.
  void useSystem(platform::System& sys) {
    state_ = std::make_unique<HelperState>(sys, Paths::forHome(home_));
  }

  // Called from inside the run: frames are reaching it, and the mouse moves
  // (so that the HID manager knows it, when it is open).
  void waitForFramesInTheRun() {
    mac_.hidValue(kMouse, kXUsage, 3);
    const uint64_t before = mac_.frameStreamCounts().delivered;
    EXPECT_TRUE(waitFor([&] { return mac_.frameStreamCounts().delivered >= before + 5; }));
  }

  // Called once the run has returned: its state goes, as run() lets it go,
  // while the stream goes on; none of its frames may arrive any more, nor
  // may a wake, a mouse's counts, its removal or a motion event reach the
  // state.
  void expectNothingReachesTheEndedRun() {
    const sim::Mac::FrameStreamCounts atEnd = mac_.frameStreamCounts();
    state_.reset();
    EXPECT_TRUE(waitFor([&] { return mac_.frameStreamCounts().sent >= atEnd.sent + 50; }));
    EXPECT_EQ(mac_.frameStreamCounts().delivered, atEnd.delivered);
    EXPECT_EQ(mac_.records("deviceStop").size(), 1u);
    EXPECT_EQ(mac_.records("unregisterContactFrameCallback").size(), 1u);
    EXPECT_EQ(mac_.records("hidClose").size(), 1u);

    mac_.wake();
    EXPECT_FALSE(mac_.hidValue(kMouse, kXUsage, 5));
    mac_.disconnect(kMouse);
    sim::SimEvent moved;
    moved.type = platform::event_type::kMouseMoved;
    moved.location = {100, 100};
    EXPECT_EQ(mac_.post(moved).location.x, 100);  // passed as it came
    EXPECT_EQ(mac_.runLoop().timerCount(), 0u);
  }
};

TEST_F(RunEnd, NoFrameReachesTheRunAfterTheOneSecondPollEndsItForARestart) {
  RefusingHid hid(mac_.system().hid);
  platform::System sys = withHid(mac_.system(), hid);
  useSystem(sys);
  mac_.setInputMonitoring(false);
  mac_.runLoop().after(0, [&] {
    waitForFramesInTheRun();
    mac_.setInputMonitoring(true);
    mac_.runLoop().advance(1);
  });
  EXPECT_EQ(runBackground(state()), 1);
  EXPECT_EQ(newLogLines().back(), kRestartLine);
  expectNothingReachesTheEndedRun();
}

TEST_F(RunEnd, NoFrameReachesTheRunAfterTheFiveSecondTimerEndsItForARestart) {
  RefusingHid hid(mac_.system().hid);
  platform::System sys = withHid(mac_.system(), hid);
  useSystem(sys);
  mac_.setInputMonitoring(false);
  mac_.runLoop().after(0, [&] {
    mac_.runLoop().advance(60.5);
    EXPECT_EQ(mac_.runLoop().timerCount(), 1u);  // the one-second poll has given up
    waitForFramesInTheRun();
    mac_.setInputMonitoring(true);
    mac_.runLoop().advance(5);  // the housekeeping tick at 65 s
  });
  EXPECT_EQ(runBackground(state()), 1);
  EXPECT_EQ(newLogLines().back(), kRestartLine);
  expectNothingReachesTheEndedRun();
}

TEST_F(RunEnd, NoFrameReachesTheRunAfterTheRefusedTapEndsIt) {
  NoFolderWatcher folders;
  folders.onWatch = [&] {  // run sequence step 9: the trackpad is read since step 4
    waitForFramesInTheRun();
    mac_.setAccessibility(false);
  };
  platform::System sys = withFolders(mac_.system(), folders);
  useSystem(sys);
  EXPECT_EQ(runBackground(state()), 1);
  EXPECT_EQ(newLogLines().back(), "could not start (event tap refused)");
  expectNothingReachesTheEndedRun();
}

TEST_F(RunEnd, NoFrameReachesTheRunAfterItsRunLoopReturns) {
  mac_.runLoop().after(0, [&] {
    waitForFramesInTheRun();
    mac_.runLoop().stop();
  });
  EXPECT_EQ(runBackground(state()), 0);
  expectNothingReachesTheEndedRun();
}

}  // namespace
}  // namespace quillon::test
