// The simulated main run loop and folder watching.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "sim/sim_mac.h"

namespace quillon::sim {
namespace {

class TempRoot {
 public:
  TempRoot() {
    char tmpl[] = "/tmp/quillon-loop-test-XXXXXX";
    path_ = mkdtemp(tmpl);
  }
  ~TempRoot() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class RunLoopTest : public ::testing::Test {
 protected:
  TempRoot root;
  Mac mac{root.path(), Mac::Options{.manualClock = true}};
  SimRunLoop& loop = mac.runLoop();
};

TEST_F(RunLoopTest, AdvanceFiresTimersAtTheirOwnTimesInOrder) {
  std::vector<std::pair<std::string, double>> fired;
  auto now = [&] { return mac.manualClock()->uptime() - 1000; };
  loop.addTimer(5, true, [&] { fired.push_back({"every5", now()}); });
  loop.after(2, [&] { fired.push_back({"after2", now()}); });
  loop.after(5, [&] { fired.push_back({"after5", now()}); });  // made later: fires after every5
  auto once = loop.addTimer(1, false, [&] { fired.push_back({"cancelled", now()}); });
  loop.cancelTimer(once);
  loop.advance(12);
  using P = std::pair<std::string, double>;
  EXPECT_EQ(fired, (std::vector<P>{{"after2", 2}, {"every5", 5}, {"after5", 5}, {"every5", 10}}));
  EXPECT_DOUBLE_EQ(now(), 12);
  EXPECT_EQ(loop.timerCount(), 1u);  // only the repeating one is left
}

TEST_F(RunLoopTest, TimerCanCancelItselfAndScheduleWorkForTheNextPass) {
  int ticks = 0;
  platform::RunLoop::TimerId id = 0;
  id = loop.addTimer(1, true, [&] {
    if (++ticks == 3) loop.cancelTimer(id);
  });
  int chained = 0;
  std::function<void()> chain = [&] {
    if (++chained < 100) loop.after(0, chain);
  };
  loop.after(0, chain);
  loop.advance(10);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(chained, 100);  // zero delays run in turn, without starving the loop
}

TEST_F(RunLoopTest, StopFromAnotherThreadEndsRun) {
  std::atomic<bool> ran{false};
  loop.after(0, [&] { ran = true; });
  std::thread stopper([&] {
    while (!loop.running() || !ran) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    loop.stop();
  });
  loop.run();
  stopper.join();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(loop.running());
}

TEST_F(RunLoopTest, StopBeforeRunIsNotLost) {
  loop.stop();
  EXPECT_TRUE(loop.runFor(5));
  EXPECT_FALSE(loop.runFor(0.02));  // the stop was used up
}

TEST_F(RunLoopTest, BackgroundLoopNoticesAClockMovedByAnotherThread) {
  std::atomic<int> fired{0};
  loop.addTimer(5, true, [&] { ++fired; });
  std::thread bg([&] { loop.run(); });
  while (!loop.running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  mac.manualClock()->advance(5.5);
  for (int i = 0; i < 30000 && fired == 0; ++i)  // at most a minute: only a fault waits that long
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  std::atomic<bool> onLoop{false}, performed{false};
  auto testThread = std::this_thread::get_id();
  loop.perform([&] {
    onLoop = loop.onLoopThread() && std::this_thread::get_id() != testThread;
    performed = true;
  });
  while (!performed) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  loop.stop();
  bg.join();
  EXPECT_EQ(fired, 1);
  EXPECT_TRUE(onLoop);
}

TEST(RealRunLoop, TimersFollowRealTime) {
  TempRoot root;
  Mac mac(root.path());
  auto& loop = mac.runLoop();
  std::vector<int> order;
  loop.after(0.03, [&] { order.push_back(2); });
  loop.after(0.01, [&] { order.push_back(1); });
  loop.after(0.05, [&] { loop.stop(); });
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(loop.runFor(5));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(RealRunLoop, WakeFromAnotherThreadRunsTheObserverOnTheLoop) {
  TempRoot root;
  Mac mac(root.path());
  std::thread::id observed;
  mac.system().workspace.setWakeObserver([&] {
    observed = std::this_thread::get_id();
    mac.runLoop().stop();
  });
  std::thread bg([&] { mac.runLoop().runFor(5); });
  while (!mac.runLoop().running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  mac.wake();
  auto bgId = bg.get_id();
  bg.join();
  EXPECT_EQ(observed, bgId);
}

// --- Folder watching ---

class WatcherTest : public RunLoopTest {
 protected:
  // Runs the loop until `atLeast` events have come or about `seconds` have
  // passed: a minute for what must come, only a fault waits that long.
  int pump(const std::atomic<int>& events, int atLeast = 1, double seconds = 60) {
    for (int i = 0; i < seconds * 100 && events < atLeast; ++i) loop.runFor(0.01);
    return events;
  }
};

TEST_F(WatcherTest, RenameIntoTheFolderFires) {
  auto folder = root.path() / "support";
  std::filesystem::create_directory(folder);
  std::atomic<int> events{0};
  auto watch = mac.system().folders.watch(folder.string(), [&] { ++events; });
  ASSERT_TRUE(watch);
  std::ofstream(root.path() / "config.json.tmp") << "{}";
  EXPECT_EQ(pump(events, 1, 1.0), 0);  // outside the folder: a second can only miss one
  std::filesystem::rename(root.path() / "config.json.tmp", folder / "config.json");
  EXPECT_GE(pump(events), 1);
  int seen = events;
  std::filesystem::remove(folder / "config.json");
  EXPECT_GT(pump(events, seen + 1), seen);
  watch.reset();
  seen = events;
  std::ofstream(folder / "again.json") << "{}";
  loop.runFor(0.05);
  EXPECT_EQ(events, seen);  // the watch ended with its object
}

TEST_F(WatcherTest, MissingFolderGivesNoWatch) {
  EXPECT_FALSE(mac.system().folders.watch((root.path() / "nope").string(), [] {}));
  std::ofstream(root.path() / "file") << "x";
  EXPECT_FALSE(mac.system().folders.watch((root.path() / "file").string(), [] {}));
}

}  // namespace
}  // namespace quillon::sim
