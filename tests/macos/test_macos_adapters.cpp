// The real macOS adapters on a Mac, for what needs no permission: the main
// run loop and its timers, folder watching, uptime, displays and their
// changes, the HID manager, preferences, the wake observer, and that
// MultitouchSupport still has every function the helper looks up (the
// first thing to break on a new macOS release). Built and run only on a Mac
// (the macOS CI workflow); compile-checked elsewhere.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/macos/core_graphics.h"
#include "platform/macos/hid.h"
#include "platform/macos/multitouch.h"
#include "platform/macos/services.h"
#include "tests/macos/wake_notification.h"

namespace quillon::platform::macos {
namespace {

class TempFolder {
 public:
  TempFolder() {
    char tmpl[] = "/tmp/quillon-macos-test-XXXXXX";
    path_ = mkdtemp(tmpl);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs the main run loop until stop() or `limitS`, whichever comes first.
// A timer, not after(): a run stopped early cancels it, so that it cannot
// stop a later run.
void runFor(CFMainRunLoop& loop, double limitS) {
  const RunLoop::TimerId limit = loop.addTimer(limitS, false, [&loop] { loop.stop(); });
  loop.run();
  loop.cancelTimer(limit);
}

TEST(MacRunLoop, OneShotTimersFireOnceRepeatingOnesUntilCancelled) {
  CFMainRunLoop loop;
  int once = 0;
  int repeating = 0;
  int cancelled = 0;
  loop.addTimer(0.01, false, [&] { ++once; });
  RunLoop::TimerId id = 0;
  id = loop.addTimer(0.01, true, [&] {
    if (++repeating == 3) loop.cancelTimer(id);
  });
  loop.cancelTimer(loop.addTimer(0.01, false, [&] { ++cancelled; }));
  runFor(loop, 0.3);
  EXPECT_EQ(once, 1);
  EXPECT_EQ(repeating, 3);
  EXPECT_EQ(cancelled, 0);
}

TEST(MacRunLoop, WorkAfterADelayRunsInOrderOnTheMainThread) {
  CFMainRunLoop loop;
  std::vector<int> order;
  loop.after(0.05, [&] { order.push_back(2); });
  loop.after(0, [&] { order.push_back(1); });
  runFor(loop, 0.2);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(MacFolderWatcher, ReportsAFileMadeInTheFolderUntilTheWatchEnds) {
  TempFolder folder;
  CFMainRunLoop loop;
  DispatchFolderWatcher watcher;
  int events = 0;
  auto watch = watcher.watch(folder.path().string(), [&] {
    ++events;
    loop.stop();
  });
  ASSERT_NE(watch, nullptr);
  loop.after(0.05, [&] { std::ofstream(folder.path() / "config.json") << "{}"; });
  runFor(loop, 5);
  EXPECT_GE(events, 1);

  watch.reset();
  const int before = events;
  std::ofstream(folder.path() / "other.json") << "{}";
  runFor(loop, 0.3);
  EXPECT_EQ(events, before);
}

TEST(MacFolderWatcher, AMissingFolderGivesNoWatch) {
  DispatchFolderWatcher watcher;
  EXPECT_EQ(watcher.watch("/nonexistent/quillon", [] {}), nullptr);
}

TEST(MacClock, UptimeAdvancesAcrossASleep) {
  UptimeClock clock;
  const double start = clock.uptime();
  clock.sleep(0.05);
  const double elapsed = clock.uptime() - start;
  EXPECT_GE(elapsed, 0.045);
  EXPECT_LT(elapsed, 5);
}

TEST(MacDisplays, ReportBoundsAndTheCallbackCanBeSetAndCleared) {
  CGDisplays displays;
  for (const DisplayDescription& d : displays.activeDisplays()) {
    EXPECT_GT(d.bounds.width, 0);
    EXPECT_GT(d.bounds.height, 0);
    EXPECT_GE(d.widthMM, 0);
  }
  displays.setReconfigurationCallback([](bool) {});
  displays.setReconfigurationCallback([](bool) {});
  displays.setReconfigurationCallback({});
}

TEST(MacDisplays, AChangeOfSeveralDisplaysReachesTheCallbackAsOneBeginAndOneEnd) {
  CFMainRunLoop loop;
  CGDisplays displays;
  std::string seen;
  displays.setReconfigurationCallback([&](bool beginning) { seen += beginning ? 'B' : 'E'; });
  // Core Graphics' calls for one change of three displays.
  for (int i = 0; i < 3; ++i) displays.coalescer().onDisplayCallback(true);
  for (int i = 0; i < 3; ++i) displays.coalescer().onDisplayCallback(false);
  EXPECT_EQ(seen, "B");
  // Queued on the main queue behind the end that the first end call posted.
  loop.after(0, [&] { loop.stop(); });
  loop.run();
  EXPECT_EQ(seen, "BE");
  displays.setReconfigurationCallback({});
}

TEST(MacMultitouch, TheFrameworkHasEveryFunctionTheHelperLooksUp) {
  MTFramework mt;
  ASSERT_TRUE(mt.load());
  for (MTFunction f :
       {MTFunction::createList, MTFunction::getDeviceID, MTFunction::getSensorSurfaceDimensions,
        MTFunction::registerContactFrameCallback, MTFunction::deviceStart, MTFunction::isBuiltIn,
        MTFunction::deviceStop, MTFunction::unregisterContactFrameCallback}) {
    EXPECT_TRUE(mt.has(f)) << "function " << static_cast<int>(f);
  }
  // A machine without a trackpad (a CI runner) may list none; the call must
  // still work. Each call creates a list, which the adapter releases once
  // its devices are idle (the workflow runs this test under leaks).
  for (int i = 0; i < 3; ++i) mt.createList();
  EXPECT_GE(mt.registryDeviceCount(), 0);
}

TEST(MacHid, AManagerIsMadeAndClosedWithoutAnyPermission) {
  IOKitHid hid;
  // Generic desktop page, mouse usage; X and Y values.
  HidManagerRef manager = hid.createManager({0x01, 0x02}, {{0x01, 0x30}, {0x01, 0x31}});
  ASSERT_NE(manager, nullptr);
  hid.setCallbacks(
      manager, [](void*, const HidValue&) {}, [](void*, HidDeviceRef) {}, nullptr);
  hid.schedule(manager);
  // Not opened: that would ask for Input Monitoring. The run's end closes a
  // refused manager the same way.
  hid.close(manager);
  hid.listenEventAccessGranted();
}

TEST(MacPreferences, AMissingGlobalKeyReadsAsAbsent) {
  CFGlobalPreferences prefs;
  EXPECT_FALSE(prefs.globalValue("com.quillon.test.no-such-key").has_value());
}

TEST(MacPreferences, AKeyWithoutAUtf8FormIsNeitherReadNorWritten) {
  CFGlobalPreferences prefs;
  const std::string invalid = "com.quillon.test.\xff";
  EXPECT_FALSE(prefs.globalValue(invalid).has_value());
  prefs.setGlobalValue(invalid, PrefValue{true});  // no null key reaches Core Foundation
}

TEST(MacWorkspace, NoApplicationRunsUnderAnUnknownIdentifier) {
  AppKitWorkspace workspace;
  EXPECT_TRUE(workspace.runningApplications("com.quillon.test.no-such-app").empty());
}

TEST(MacWorkspace, AWakeReachesOnlyTheLatestObserverAndNoneOnceCleared) {
  CFMainRunLoop loop;
  AppKitWorkspace workspace;
  int first = 0;
  int second = 0;
  // The observer runs on the main queue, which the run loop serves.
  const auto wake = [&] {
    test::postWakeNotification();
    runFor(loop, 0.2);
  };
  workspace.setWakeObserver([&] { ++first; });
  wake();
  EXPECT_EQ(first, 1);
  workspace.setWakeObserver([&] { ++second; });
  wake();
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
  workspace.setWakeObserver({});
  wake();
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
}

}  // namespace
}  // namespace quillon::platform::macos
