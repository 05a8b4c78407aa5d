// The simulated Mac's processes end to end: launchd running the real
// helper from the real property list, the installer's scripts with the
// tools' stand-ins, the app channel and quillon-sim-control.
#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>

#include "sim/app/app_mac.h"
#include "sim/app/launchd_holds.h"
#include "sim/app/launchd_state.h"
#include "sim/app/mac_fs.h"
#include "sim/app/spawn.h"
#include "sim/sim_state.h"
#include "sim_app_support.h"

namespace quillon::sim::testing {
namespace {

using nlohmann::json;
using platform::ServiceStatus;

constexpr char kPrompt[] = "com.apple.accessibility.universalAccessAuthWarn";

std::vector<json> toolCalls(const fs::path& root, const std::string& tool) {
  std::vector<json> calls;
  std::ifstream in(root / "tools.jsonl");
  for (std::string line; std::getline(in, line);) {
    json call = json::parse(line);
    if (call["tool"] == tool) calls.push_back(call["args"]);
  }
  return calls;
}

CapturedRun simControl(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {QUILLON_SIM_CONTROL};
  argv.insert(argv.end(), args.begin(), args.end());
  return runCaptured(QUILLON_SIM_CONTROL, argv, environmentWith({}));
}

pid_t agentPid(const fs::path& root) {
  return readJobStatus(SystemFolder(root))["com.quillon.helper"].pid;
}

// The helper's pid once launchd reports one that `wanted` accepts; 0 if it
// never does.
pid_t waitForAgent(const fs::path& root, const std::function<bool(pid_t)>& wanted = {}) {
  return waitForJobPid(root, "com.quillon.helper", wanted);
}

// A bundle whose executable is a script that notes each start in
// <root>/started and then waits.
void makeScriptBundle(const fs::path& at, const fs::path& root) {
  makeBundle(at);
  fs::path exe = at / "Contents/MacOS/Quillon";
  writeText(exe, "#!/bin/sh\necho $$ >> '" + (root / "started").string() + "'\nexec sleep 60\n");
  fs::permissions(exe, fs::perms::owner_all);
}

TEST_F(SimAppTest, AgentFromTheRealPropertyListRunsIsKeptAliveAndStopsWhenUnregistered) {
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
  platform::AppService& agent = mac.system().services.agent("com.quillon.helper.plist");
  ASSERT_EQ(agent.status(), ServiceStatus::notRegistered);
  ASSERT_FALSE(agent.registerService());
  EXPECT_EQ(agent.status(), ServiceStatus::enabled);

  // The helper runs with this test's HOME: its status file names its pid.
  pid_t first = waitForAgent(root());
  ASSERT_GT(first, 0);
  fs::path status = home() / "Library/Application Support/Quillon/status.json";
  ASSERT_TRUE(waitFor([&] {
    json s = json::parse(readText(status), nullptr, false);
    return s.is_object() && s.value("pid", 0) == first;
  })) << readText(status);
  EXPECT_EQ(json::parse(readText(status))["accessibility"], false);

  // It asked for trust with the prompt: the prompt shows; once granted
  // (offline, as setup does it while the helper waits), the helper closes it.
  ASSERT_TRUE(
      waitFor([&] { return !mac.system().workspace.runningApplications(kPrompt).empty(); }));
  auto grant = simControl({"--root", root().string(), "--offline",
                           R"({"cmd":"permissions","accessibility":true,"inputMonitoring":true})"});
  ASSERT_EQ(grant.status, 0) << grant.output;
  EXPECT_TRUE(waitFor([&] { return mac.system().workspace.runningApplications(kPrompt).empty(); }));

  // kill -9: launchd starts it again after the throttle interval.
  kill(first, SIGKILL);
  pid_t second = waitForAgent(root(), [&](pid_t pid) { return pid != first; });
  ASSERT_GT(second, 0);
  EXPECT_FALSE(processAlive(first));
  EXPECT_EQ(readJobStatus(SystemFolder(root()))["com.quillon.helper"].lastExit, -SIGKILL);

  // kickstart -k restarts it at once, throttle or not.
  auto kick = mac.system().processes.run(
      "/bin/launchctl",
      {"kickstart", "-k", "gui/" + std::to_string(getuid()) + "/com.quillon.helper"});
  EXPECT_EQ(kick.status, 0) << kick.output;
  const pid_t killedEarly = waitForAgent(root(), [&](pid_t pid) { return pid != second; });
  ASSERT_GT(killedEarly, 0);
  const auto killedStarted = processStartTime(killedEarly);
  ASSERT_TRUE(killedStarted);

  // Killed right after its start: the next start waits out the property
  // list's ThrottleInterval (5 s, not launchd's default of 10), counted from
  // the last start. Timed by the kernel's start times of the two processes,
  // not by when this test happened to see them.
  kill(killedEarly, SIGKILL);
  pid_t third = waitForAgent(root(), [&](pid_t pid) { return pid != killedEarly; });
  ASSERT_GT(third, 0);
  const auto thirdStarted = processStartTime(third);
  ASSERT_TRUE(thirdStarted);
  const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
  EXPECT_GE(static_cast<double>(*thirdStarted - *killedStarted) / ticksPerSecond, 5.0 - 0.02)
      << "a start tick is 1/" << ticksPerSecond << " s";
  pid_t supervisor = supervisorPid(SystemFolder(root()));
  EXPECT_GT(supervisor, 0);

  ASSERT_FALSE(agent.unregisterService());
  EXPECT_EQ(agent.status(), ServiceStatus::notRegistered);
  EXPECT_TRUE(waitFor([&] { return !processAlive(third) && !processAlive(supervisor); }));
  EXPECT_TRUE(liveProcesses(SystemFolder(root())).empty());
}

TEST_F(SimAppTest, UnregisteringWithACompletionAnswersOnceTheJobHasEnded) {
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
  platform::AppService& agent = mac.system().services.agent("com.quillon.helper.plist");

  // Held: the job is gone, the answer waits until the test lets it go.
  ASSERT_FALSE(agent.registerService());
  const pid_t first = waitForAgent(root());
  ASSERT_GT(first, 0);
  std::atomic<bool> answered{false};
  mac.holdAgentUnregister(true);
  agent.unregisterService([&](const platform::OsResult& r) {
    EXPECT_FALSE(r);
    answered = true;
  });
  EXPECT_EQ(agent.status(), ServiceStatus::notRegistered);
  ASSERT_TRUE(waitFor([&] { return !processAlive(first); }));
  EXPECT_FALSE(answered);
  mac.holdAgentUnregister(false);
  EXPECT_TRUE(waitFor([&] { return answered.load(); }));

  // Not held: when it answers, the helper's process has ended.
  ASSERT_FALSE(agent.registerService());
  const pid_t second = waitForAgent(root());
  ASSERT_GT(second, 0);
  std::atomic<int> aliveAtAnswer{-1};
  agent.unregisterService(
      [&](const platform::OsResult&) { aliveAtAnswer = processAlive(second) ? 1 : 0; });
  ASSERT_TRUE(waitFor([&] { return aliveAtAnswer.load() >= 0; }));
  EXPECT_EQ(aliveAtAnswer.load(), 0);
  EXPECT_EQ(mac.records("agentUnregisterCompleted").size(), 2u);
}

TEST_F(SimAppTest, AHeldStartWaitsUntilTheTestReleasesIt) {
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
  const SystemFolder folder(root());
  holdStart(folder, "com.quillon.helper");
  holdStart(folder, "local.other");
  EXPECT_EQ(heldStarts(folder), (std::set<std::string>{"com.quillon.helper", "local.other"}));
  ASSERT_FALSE(mac.system().services.agent("com.quillon.helper.plist").registerService());
  // The supervisor has looked at the job (its status lists it) and left it.
  ASSERT_TRUE(waitFor([&] { return readJobStatus(folder).count("com.quillon.helper") > 0; }));
  EXPECT_EQ(readJobStatus(folder)["com.quillon.helper"].starts, 0);
  EXPECT_EQ(agentPid(root()), 0);

  releaseStart(folder, "com.quillon.helper");
  ASSERT_TRUE(waitFor([&] { return agentPid(root()) > 0; })) << "started once released";
  EXPECT_EQ(readJobStatus(folder)["com.quillon.helper"].starts, 1);
  EXPECT_TRUE(fs::exists(folder.file(kHoldsFile))) << "another hold is left";
  releaseStart(folder, "local.other");
  EXPECT_FALSE(fs::exists(folder.file(kHoldsFile))) << "no holds, no file";

  // A damaged file holds nothing.
  writeText(folder.file(kHoldsFile), "{\"start\":");
  EXPECT_TRUE(heldStarts(folder).empty());
  writeText(folder.file(kHoldsFile), R"({"start":"com.quillon.helper"})");
  EXPECT_TRUE(heldStarts(folder).empty());
}

TEST_F(SimAppTest, AnAgentRegisteredWhileLaunchdWindsDownStillRuns) {
  // Each unregistration lets the supervisor leave once its job has gone; a
  // registration in that moment must not be lost with it.
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
  platform::AppService& agent = mac.system().services.agent("com.quillon.helper.plist");
  ASSERT_FALSE(agent.registerService());
  for (int round = 0; round < 12; ++round) {
    const pid_t running = waitForAgent(root());
    ASSERT_GT(running, 0) << "round " << round;
    ASSERT_FALSE(agent.unregisterService());
    std::this_thread::sleep_for(std::chrono::milliseconds(round));
    ASSERT_FALSE(agent.registerService());
    ASSERT_TRUE(waitFor([&] { return agentPid(root()) != running; })) << "round " << round;
  }
}

TEST_F(SimAppTest, ARegisteredAgentRunsAgainAtTheNextLogin) {
  pid_t before = 0;
  {
    AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
    ASSERT_FALSE(mac.system().services.agent("com.quillon.helper.plist").registerService());
    before = waitForAgent(root());
    ASSERT_GT(before, 0);
  }
  EXPECT_GT(shutdownMachine(root()), 0);
  EXPECT_FALSE(processAlive(before));
  EXPECT_EQ(supervisorPid(SystemFolder(root())), 0);

  // The machine starts again and the app with it: the agent, still
  // registered, runs, with nothing asking for it.
  const char* oldRoot = getenv("QUILLON_SIM_ROOT");
  const std::string restore = oldRoot ? oldRoot : "";
  setenv("QUILLON_SIM_ROOT", root().c_str(), 1);
  auto app = platform::makeAppBackend();
  if (restore.empty())
    unsetenv("QUILLON_SIM_ROOT");
  else
    setenv("QUILLON_SIM_ROOT", restore.c_str(), 1);
  EXPECT_TRUE(waitFor([&] {
    pid_t now = agentPid(root());
    return now > 0 && now != before && processAlive(now);
  }));
}

TEST_F(SimAppTest, RequiringApprovalStopsARunningAgent) {
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
  platform::AppService& agent = mac.system().services.agent("com.quillon.helper.plist");
  ASSERT_FALSE(agent.registerService());
  pid_t helper = waitForAgent(root());
  ASSERT_GT(helper, 0);
  // The user switches the login item off in System Settings.
  mac.forceServiceStatus("com.quillon.helper.plist", ServiceStatus::requiresApproval);
  EXPECT_EQ(agent.status(), ServiceStatus::requiresApproval);
  EXPECT_TRUE(waitFor([&] { return !processAlive(helper); }));
  auto refused = agent.registerService();
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->description, "Operation not permitted");
}

TEST_F(SimAppTest, HandOverScriptWaitsForTheAppThenOpensTheCopyAndDetachesTheVolume) {
  SystemFolder folder(root());
  MacFileSystem files(folder);
  files.mount("/Volumes/Quillon 0.1", true);
  makeScriptBundle(files.hostPath("/Applications/Quillon.app"), root());
  AppMac mac(root(), AppMac::Options{.bundle = files.hostPath("/Volumes/Quillon 0.1/Quillon.app"),
                                     .listAsRunning = false});
  makeBundle(mac.bundleHostPath());

  // "This process": a child that ends when the script has seen it alive.
  std::string error;
  auto app = spawnChild("/bin/sleep", {"sleep", "30"}, environmentWith({}), {}, error);
  ASSERT_TRUE(app) << error;
  const std::string script =
      "while /bin/kill -0 \"$1\" 2>/dev/null; do sleep 0.2; done; /usr/bin/open \"$2\"; "
      "[ -n \"$3\" ] && /usr/bin/hdiutil detach \"$3\" -quiet; exit 0";
  const std::vector<std::string> args = {"-c",
                                         script,
                                         "sh",
                                         std::to_string(*app),
                                         "/Applications/Quillon.app",
                                         "/Volumes/Quillon 0.1"};
  EXPECT_FALSE(mac.system().processes.startDetached("/bin/sh", args));
  EXPECT_TRUE(waitFor([&] { return toolCalls(root(), "kill").size() >= 2; }));
  EXPECT_FALSE(fs::exists(root() / "started"));
  kill(*app, SIGKILL);
  waitpid(*app, nullptr, 0);

  ASSERT_TRUE(waitFor([&] { return fs::exists(root() / "started"); }));
  ASSERT_TRUE(waitFor([&] { return !toolCalls(root(), "hdiutil").empty(); }));
  EXPECT_EQ(toolCalls(root(), "open"), (std::vector<json>{{"/Applications/Quillon.app"}}));
  EXPECT_EQ(toolCalls(root(), "hdiutil"),
            (std::vector<json>{{"detach", "/Volumes/Quillon 0.1", "-quiet"}}));
  EXPECT_GE(toolCalls(root(), "kill").size(), 2u);
  EXPECT_EQ(toolCalls(root(), "kill").front(), (json{"-0", std::to_string(*app)}));
  EXPECT_FALSE(files.unmount("/Volumes/Quillon 0.1"));  // detached already
  auto detached = mac.records("startDetached");
  ASSERT_EQ(detached.size(), 1u);
  EXPECT_EQ(json::parse(detached[0].detail), (json{{"path", "/bin/sh"}, {"args", args}}));
  // The opened copy is the machine's to stop.
  EXPECT_FALSE(liveProcesses(folder).empty());
}

// A copy that still runs is reopened, even while it quits: `open` starts no
// second copy until the first has ended (the relaunch waits for that).
TEST_F(SimAppTest, OpenReopensARunningCopyEvenWhileItIsQuitting) {
  SystemFolder folder(root());
  MacFileSystem files(folder);
  makeScriptBundle(files.hostPath("/Applications/Quillon.app"), root());
  AppMac running(root(), AppMac::Options{.bundle = files.hostPath("/Applications/Quillon.app")});
  ASSERT_TRUE(running.serveChannel());
  std::atomic<int> reopened{0};
  running.system().events.setReopenHandler([&] { ++reopened; });
  running.setTerminateHandler([] {});

  auto open = running.system().processes.run(
      "/bin/sh", {"-c", "sleep 0.1; /usr/bin/open \"$0\"", "/Applications/Quillon.app"});
  EXPECT_EQ(open.status, 0) << open.output;
  EXPECT_TRUE(waitFor([&] { return reopened == 1; }));
  EXPECT_FALSE(fs::exists(root() / "started"));

  running.system().workspace.terminateSelf();
  open = running.system().processes.run("/usr/bin/open", {"/Applications/Quillon.app"});
  EXPECT_EQ(open.status, 0) << open.output;
  EXPECT_TRUE(waitFor([&] { return reopened == 2; }));
  EXPECT_FALSE(fs::exists(root() / "started"));
}

TEST_F(SimAppTest, SimControlDrivesARunningAppThroughItsChannel) {
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle()});
  ASSERT_TRUE(mac.serveChannel());
  std::mutex m;
  std::vector<std::string> seen;
  auto note = [&](std::string what) {
    std::lock_guard g(m);
    seen.push_back(std::move(what));
  };
  mac.system().hotKeys.installHandler([&](uint32_t id) { note("hotKey " + std::to_string(id)); });
  mac.system().hotKeys.registerHotKey(15, 0x1900, 1, 1);
  mac.setStatusItemClickHandler([&] {
    auto e = mac.system().events.currentEvent();
    note("click " + std::to_string(e->type) + "/" + std::to_string(e->subtype));
  });
  mac.system().events.setReopenHandler([&] { note("reopen"); });
  auto monitor = mac.system().events.addGlobalMouseDownMonitor([&] { note("mouseDown"); });
  mac.setTerminateHandler([&] { note("terminate"); });

  auto r = simControl({"--root", root().string(), "--app", R"({"cmd":"hotKey","id":1})",
                       R"({"cmd":"click","type":1,"subtype":3})", R"({"cmd":"reopen"})",
                       R"({"cmd":"mouseDown"})", R"({"cmd":"terminate"})"});
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(waitFor([&] {
    std::lock_guard g(m);
    return seen.size() == 5;
  }));
  EXPECT_EQ(seen, (std::vector<std::string>{"hotKey 1", "click 1/3", "reopen", "mouseDown",
                                            "terminate"}));
  auto bad = simControl({"--root", root().string(), "--app", R"({"cmd":"hotKey","id":9})",
                         R"({"cmd":"nothing"})", "not json"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.output.find(R"("delivered":false)"), std::string::npos);
  EXPECT_NE(bad.output.find("unknown command"), std::string::npos);
}

TEST_F(SimAppTest, OfflineControlChangesTheFilesWithNothingRunning) {
  auto r = simControl(
      {"--root", root().string(), "--offline", R"({"cmd":"permissions","accessibility":true})",
       R"({"cmd":"preference","key":"CGDisableCursorLocationMagnification","value":true})",
       R"({"cmd":"preference","key":"AppleInterfaceStyle","value":"Dark"})",
       R"({"cmd":"preference","key":"com.apple.swipescrolldirection","value":false})",
       R"({"cmd":"connectTrackpad","id":2})",
       R"({"cmd":"forceService","name":"com.quillon.helper.plist","status":2})",
       R"({"cmd":"mount","path":"/Volumes/Quillon","readOnly":true})"});
  ASSERT_EQ(r.status, 0) << r.output;
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
  platform::AppSystem& sys = mac.system();
  EXPECT_TRUE(sys.accessibility.isTrusted(false));
  EXPECT_EQ(sys.preferences.globalValue("CGDisableCursorLocationMagnification"),
            platform::PrefValue(true));
  EXPECT_EQ(sys.preferences.globalValue("com.apple.swipescrolldirection"),
            platform::PrefValue(false));
  EXPECT_TRUE(sys.appearance.isDark());
  EXPECT_EQ(sys.registry.serviceCount("AppleMultitouchTrackpadHIDEventDriver"), 1);
  EXPECT_EQ(sys.services.agent("com.quillon.helper.plist").status(),
            ServiceStatus::requiresApproval);
  EXPECT_EQ(sys.bundle.volumeIsReadOnly("/Volumes/Quillon"), true);

  auto bad = simControl({"--root", root().string(), "--offline", R"({"cmd":"event","type":5})",
                         R"({"cmd":"permissions","accessibility":"yes"})", "{"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(std::count(bad.output.begin(), bad.output.end(), '\n'), 3);
  EXPECT_EQ(bad.output.find(R"("ok":true)"), std::string::npos) << bad.output;
}

TEST_F(SimAppTest, ShutdownStopsEverythingTheMachineStarted) {
  fs::path plist = home() / "Library/LaunchAgents/local.quillon.plist";
  writeText(plist, R"(<plist><dict><key>Label</key><string>local.quillon</string>
      <key>ProgramArguments</key><array><string>/bin/sleep</string><string>60</string></array>
      <key>KeepAlive</key><true/></dict></plist>)");
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
  const std::string domain = "gui/" + std::to_string(getuid());
  auto boot = mac.system().processes.run("/bin/launchctl", {"bootstrap", domain, plist.string()});
  ASSERT_EQ(boot.status, 0) << boot.output;
  // Scripts with children: one waits for its `sleep`, one has left its
  // `sleep` behind.
  const fs::path waited = root() / "waited", leftBehind = root() / "left-behind";
  EXPECT_FALSE(mac.system().processes.startDetached(
      "/bin/sh", {"-c", "sleep 61 & echo $! > \"$0\"; wait", waited.string()}));
  EXPECT_FALSE(mac.system().processes.startDetached(
      "/bin/sh", {"-c", "sleep 62 & echo $! > \"$0\"", leftBehind.string()}));
  ASSERT_TRUE(
      waitFor([&] { return readJobStatus(SystemFolder(root()))["local.quillon"].pid > 0; }));
  std::vector<pid_t> children;
  for (const auto& file : {waited, leftBehind}) {
    ASSERT_TRUE(waitFor([&] { return readText(file).find('\n') != std::string::npos; }));
    children.push_back(std::stoi(readText(file)));
    EXPECT_TRUE(processAlive(children.back()));
  }
  auto live = liveProcesses(SystemFolder(root()));
  EXPECT_EQ(live.size(), 4u);  // launchd, the agent, the two scripts

  auto r = simControl({"--root", root().string(), "--shutdown"});
  EXPECT_EQ(r.status, 0);
  for (const auto& p : live) EXPECT_FALSE(processAlive(p.pid)) << p.what;
  for (pid_t child : children) EXPECT_FALSE(processAlive(child)) << "sleep " << child;
  EXPECT_TRUE(liveProcesses(SystemFolder(root())).empty());

  // bootout of the old agent unloads it; a second one has nothing to unload.
  EXPECT_EQ(
      mac.system().processes.run("/bin/launchctl", {"bootout", domain + "/local.quillon"}).status,
      0);
  EXPECT_EQ(
      mac.system().processes.run("/bin/launchctl", {"bootout", domain + "/local.quillon"}).status,
      3);
}

}  // namespace
}  // namespace quillon::sim::testing
