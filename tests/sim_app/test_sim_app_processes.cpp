// How the simulated Mac starts and tells apart its processes: detached
// programs recorded before they run, launchd's lock that asking about it
// never takes, stand-in pids that are never handed out twice, a process
// table that names no process, and a launchd that was killed.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <sstream>

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

TEST_F(SimAppTest, ShutdownSignalsNoProcessForPidsThatNameNone) {
  // kill and killpg read 0 as "our own group" and -1 as "every process".
  writeText(root() / "processes.json", R"([{"pid":0,"start":0,"what":"agent com.quillon.helper"},
      {"pid":-1,"start":0,"what":"launchd"},{"pid":-31337,"what":"detached /bin/sh"},
      {"pid":0,"start":"soon","what":7},{"pid":4294967296}])");
  SystemFolder folder(root());
  EXPECT_TRUE(liveProcesses(folder).empty());
  // The shutdown runs in a process group of its own: were it to signal its
  // own group, it would end itself, not this test run.
  const fs::path output = base_ / "shutdown.txt";
  std::string error;
  auto pid = spawnChild(QUILLON_SIM_CONTROL,
                        {QUILLON_SIM_CONTROL, "--root", root().string(), "--shutdown"},
                        environmentWith({}), output, error);
  ASSERT_TRUE(pid) << error;
  int status = 0;
  ASSERT_EQ(waitpid(*pid, &status, 0), *pid);
  EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(readText(output), "stopped 0 processes\n");
  // Whatever happened above, TearDown's shutdown must not meet this file.
  fs::remove(root() / "processes.json");
}

TEST_F(SimAppTest, ANewLaunchdEndsTheJobsOfOneThatWasKilled) {
  const fs::path plist = home() / "Library/LaunchAgents/local.quillon.plist";
  const fs::path started = root() / "started";
  writeText(plist, R"(<plist><dict><key>Label</key><string>local.quillon</string>
      <key>ProgramArguments</key><array><string>/bin/sh</string><string>-c</string>
      <string>echo $$ >> ")" +
                       started.string() +
                       R"("; exec sleep 600</string></array>
      <key>KeepAlive</key><true/><key>RunAtLoad</key><true/></dict></plist>)");
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
  auto boot = mac.system().processes.run(
      "/bin/launchctl", {"bootstrap", "gui/" + std::to_string(getuid()), plist.string()});
  ASSERT_EQ(boot.status, 0) << boot.output;
  SystemFolder folder(root());
  auto startedPids = [&] {
    std::vector<pid_t> pids;
    std::istringstream lines(readText(started));
    for (pid_t p = 0; lines >> p;) pids.push_back(p);
    return pids;
  };
  ASSERT_TRUE(waitFor([&] { return startedPids().size() == 1u; }));
  const pid_t first = startedPids()[0];
  ASSERT_TRUE(waitFor([&] { return readJobStatus(folder)["local.quillon"].pid == first; }));

  const pid_t killed = supervisorPid(folder);
  ASSERT_GT(killed, 0);
  kill(killed, SIGKILL);
  ASSERT_TRUE(waitFor([&] { return !processAlive(killed); }));
  ASSERT_TRUE(processAlive(first));  // its job runs on, nobody's child

  std::string error;
  ASSERT_TRUE(startLoadedJobs(folder, error)) << error;
  // The new launchd runs the job: the one it found, or a new one of its own.
  ASSERT_TRUE(waitFor([&] {
    pid_t running = readJobStatus(folder)["local.quillon"].pid;
    auto pids = startedPids();
    return supervisorPid(folder) > 0 && supervisorPid(folder) != killed && running > 0 &&
           std::find(pids.begin(), pids.end(), running) != pids.end();
  }));
  const pid_t running = readJobStatus(folder)["local.quillon"].pid;
  std::vector<pid_t> alive;
  for (pid_t p : startedPids())
    if (processAlive(p)) alive.push_back(p);
  EXPECT_EQ(alive, std::vector<pid_t>{running});
  int agents = 0;
  for (const auto& p : liveProcesses(folder)) agents += p.what == "agent local.quillon";
  EXPECT_EQ(agents, 1);
}

}  // namespace
}  // namespace quillon::sim::testing
