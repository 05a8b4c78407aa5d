// How the simulated Mac starts its processes: detached programs recorded
// before they run, and launchd's lock that asking about it never takes.
#include <fcntl.h>
#include <signal.h>

#include <atomic>

#include "sim/app/launchd_state.h"
#include "sim/app/process_table.h"
#include "sim/app/spawn.h"
#include "sim_app_support.h"

namespace quillon::sim::testing {
namespace {

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

}  // namespace
}  // namespace quillon::sim::testing
