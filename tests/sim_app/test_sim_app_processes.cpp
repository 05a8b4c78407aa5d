// How the simulated Mac starts and tells apart its processes: detached
// programs recorded before they run, launchd's lock that asking about it
// never takes, and stand-in pids that are never handed out twice.
#include <fcntl.h>
#include <signal.h>

#include <atomic>

#include "sim/app/app_mac.h"
#include "sim/app/launchd_state.h"
#include "sim/app/offline_control.h"
#include "sim/app/process_table.h"
#include "sim/app/spawn.h"
#include "sim/sim_state.h"
#include "sim_app_support.h"

namespace quillon::sim::testing {
namespace {

using nlohmann::json;

TEST_F(SimAppTest, ADetachedProgramIsRecordedBeforeItRunsAndLeadsItsOwnGroup) {
  const fs::path ran = root() / "ran";
  SystemFolder folder(root());
  pid_t recorded = 0;
  bool ranBeforeRecorded = false;
  std::string error;
  auto pid = spawnDetached(
      "/bin/sh", {"sh", "-c", "echo $$ > \"$0\"; exec sleep 30", ran.string()}, environmentWith({}),
      {},
      [&](pid_t p) {
        registerProcess(folder, p, "test");  // so that TearDown stops it
        recorded = p;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ranBeforeRecorded = fs::exists(ran);
      },
      error);
  ASSERT_TRUE(pid) << error;
  EXPECT_EQ(recorded, *pid);
  EXPECT_FALSE(ranBeforeRecorded);
  ASSERT_TRUE(waitFor([&] { return readText(ran).find('\n') != std::string::npos; }));
  EXPECT_EQ(std::stoi(readText(ran)), *pid);
  EXPECT_EQ(getpgid(*pid), *pid);
  EXPECT_NE(getsid(*pid), getsid(0));
  kill(*pid, SIGKILL);
  EXPECT_TRUE(waitFor([&] { return !processAlive(*pid); }));

  auto missing =
      spawnDetached("/nonexistent/program", {"program"}, environmentWith({}), {}, {}, error);
  EXPECT_FALSE(missing);
  EXPECT_NE(error.find("couldn't run /nonexistent/program"), std::string::npos) << error;
}

TEST_F(SimAppTest, AskingWhetherLaunchdRunsNeverTakesItsLock) {
  SystemFolder folder(root());
  EXPECT_EQ(supervisorPid(folder), 0);
  // A supervisor starting while others keep asking must get its lock.
  std::atomic<bool> stop{false};
  std::thread asking([&] {
    while (!stop) supervisorPid(folder);
  });
  int refused = 0;
  for (int i = 0; i < 2000; ++i) {
    int fd = open(folder.file(kLaunchdLock).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    if (!takeLaunchdLock(fd)) ++refused;
    close(fd);
  }
  stop = true;
  asking.join();
  EXPECT_EQ(refused, 0);

  int held = open(folder.file(kLaunchdLock).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_TRUE(takeLaunchdLock(held));
  EXPECT_NE(supervisorPid(folder), 0);
  int other = open(folder.file(kLaunchdLock).c_str(), O_RDWR | O_CLOEXEC);
  EXPECT_FALSE(takeLaunchdLock(other));  // a second supervisor leaves
  releaseLaunchdLock(held);
  EXPECT_EQ(supervisorPid(folder), 0);
  close(other);
  close(held);
}

TEST_F(SimAppTest, StandInPidsAreNeverHandedOutTwice) {
  constexpr char kPrompt[] = "com.apple.accessibility.universalAccessAuthWarn";
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
  platform::AppSystem& sys = mac.system();
  // The prompt shows, the helper closes it, the prompt shows again: setup
  // tells the two apart by their pids.
  std::vector<int> pids;
  for (int round = 0; round < 2; ++round) {
    EXPECT_FALSE(sys.accessibility.isTrusted(true));
    auto shown = sys.workspace.runningApplications(kPrompt);
    ASSERT_EQ(shown.size(), 1u);
    pids.push_back(shown[0].pid);
    EXPECT_EQ(sys.processes.run("/bin/kill", {std::to_string(shown[0].pid)}).status, 0);
    EXPECT_TRUE(sys.workspace.isTerminated(shown[0].pid));
  }
  // Nothing runs now; the next app, started by another process, is new too.
  json launched =
      runOfflineCommand(root(), {{"cmd", "launchApp"}, {"bundleIdentifier", "com.example"}});
  ASSERT_EQ(launched["ok"], true) << launched.dump();
  pids.push_back(launched["pid"].get<int>());
  EXPECT_LT(pids[0], pids[1]);
  EXPECT_LT(pids[1], pids[2]);

  // A machine kept by an older build (a bare list) still reads.
  writeText(root() / "apps.json", R"([{"pid":1000,"bundleIdentifier":"com.example"}])");
  ASSERT_EQ(readApps(SystemFolder(root())).size(), 1u);
  EXPECT_FALSE(sys.accessibility.isTrusted(true));
  auto shown = sys.workspace.runningApplications(kPrompt);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].pid, 1001);
}

}  // namespace
}  // namespace quillon::sim::testing
