// Registering the helper agent, watching that it comes up, and reading its
// status file.
#include <unistd.h>

#include <fstream>

#include "app/core/helper_control.h"
#include "config_text.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

using HelperControl = CoreTest;
using platform::ServiceStatus;

void writeStatus(const Paths& paths, const std::string& text) {
  std::filesystem::create_directories(paths.supportDir);
  std::ofstream(paths.statusFile) << text;
}

TEST_F(HelperControl, StartRegistersOrExplains) {
  mac.agent.status_ = ServiceStatus::enabled;
  EXPECT_EQ(Helper::start(env), std::nullopt);
  EXPECT_TRUE(mac.calls.empty()) << "already enabled";
  EXPECT_EQ(mac.agentPlist, "com.quillon.helper.plist");

  mac.agent.status_ = ServiceStatus::notRegistered;
  mac.agent.refuse = "Operation not permitted";
  mac.agent.statusAfterRefusal = ServiceStatus::requiresApproval;
  EXPECT_EQ(Helper::start(env), "Allow Quillon in System Settings > General > Login Items.");
  mac.agent.statusAfterRefusal = ServiceStatus::notFound;
  EXPECT_EQ(Helper::start(env), "Couldn't start Quillon Helper: Operation not permitted");
  EXPECT_EQ(loop.pending(), 0u) << "no check after a failed start";
}

TEST_F(HelperControl, AHelperThatDoesNotComeUpIsRegisteredAgainThreeTimes) {
  EXPECT_EQ(Helper::start(env), std::nullopt);
  loop.advance(3.9);
  EXPECT_EQ(mac.calls, (Calls{"agent.register"}));
  loop.advance(60);
  EXPECT_EQ(mac.calls,
            (Calls{"agent.register", "agent.unregister", "agent.register", "agent.unregister",
                   "agent.register", "agent.unregister", "agent.register"}));
  EXPECT_EQ(loop.pending(), 0u);
}

TEST_F(HelperControl, ARunningHelperEndsTheChecks) {
  writeStatus(paths, R"({"pid":)" + std::to_string(::getpid()) + "}");
  EXPECT_EQ(Helper::start(env), std::nullopt);
  loop.advance(60);
  EXPECT_EQ(mac.calls, (Calls{"agent.register"}));
}

TEST_F(HelperControl, StopUnregistersAndDeletesTheStatusFile) {
  writeStatus(paths, "{}");
  for (ServiceStatus s : {ServiceStatus::notRegistered, ServiceStatus::notFound}) {
    mac.agent.status_ = s;
    Helper::stop(env);
  }
  EXPECT_TRUE(mac.calls.empty());
  EXPECT_TRUE(std::filesystem::exists(paths.statusFile));
  mac.agent.status_ = ServiceStatus::requiresApproval;
  Helper::stop(env);
  EXPECT_EQ(mac.calls, (Calls{"agent.unregister"}));
  EXPECT_FALSE(std::filesystem::exists(paths.statusFile));
}

TEST(HelperStatus, ParsedFromTheFile) {
  const auto alive = [](int pid) { return pid == 812; };
  struct Case {
    std::string text;
    Helper::Status status;
  };
  const Case cases[] = {
      {R"({"accessibility":true,"inputMonitoring":true,"trackpad":true,"pid":812})",
       {true, true, true, true}},
      {R"({"accessibility":true,"inputMonitoring":true,"trackpad":false,"pid":813})",
       {false, true, false, false}},
      {R"({"accessibility":true,"inputMonitoring":true,"trackpad":true,"pid":0})",
       {false, true, true, false}},
      {R"({"accessibility":true,"pid":-812})", {}},
      {R"({"accessibility":true,"pid":812.0})", {}},
      {R"({"accessibility":true,"pid":4294968108})", {}},  // 2^32 + 812
      {R"({"accessibility":"yes","inputMonitoring":1,"trackpad":null,"pid":812})",
       {false, false, false, true}},
      {"garbage", {}},
      {"[1,2,3]", {}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Helper::parseStatus(c.text, alive), c.status) << c.text;
  EXPECT_EQ(Helper::describe({true, false, true, true}),
            "Status(accessibility: true, inputMonitoring: false, trackpad: true, running: true)");
}

TEST_F(HelperControl, StatusFileThatIsHugeOrNotAFile) {
  writeStatus(paths, R"({"inputMonitoring":true,"pad":")" + std::string(100000, 'x') + "\"}");
  EXPECT_EQ(Helper::status(env), Helper::Status{});
  std::filesystem::remove(paths.statusFile);
  std::filesystem::create_directories(paths.statusFile);
  EXPECT_EQ(Helper::status(env), Helper::Status{});
  EXPECT_TRUE(Helper::processExists(::getpid()));
  EXPECT_FALSE(Helper::processExists(0));
}

TEST_F(HelperControl, RefreshIfUpdatedReregistersAnEnabledAgentOnce) {
  const auto exe = mac.hostPath(Helper::exe(env));
  std::filesystem::create_directories(exe.parent_path());
  std::ofstream(exe) << "v1";
  mac.agent.status_ = ServiceStatus::enabled;
  Helper::refreshIfUpdated(env);
  EXPECT_EQ(mac.calls, (Calls{"agent.unregister", "agent.register"}));
  const std::string stamp = *mac.standard.stringValue("helperStamp");
  EXPECT_FALSE(stamp.empty());
  Helper::refreshIfUpdated(env);
  EXPECT_EQ(mac.calls.size(), 2u) << "same stamp: nothing";

  std::filesystem::last_write_time(exe,
                                   std::filesystem::last_write_time(exe) + std::chrono::seconds(5));
  mac.agent.status_ = ServiceStatus::notRegistered;
  Helper::refreshIfUpdated(env);
  EXPECT_EQ(mac.calls.size(), 2u) << "an agent that was not enabled stays unregistered";
  EXPECT_NE(*mac.standard.stringValue("helperStamp"), stamp);

  std::filesystem::remove(exe);
  Helper::refreshIfUpdated(env);
  EXPECT_EQ(mac.standard.stringValue("helperStamp"), "");
}

TEST_F(HelperControl, AskAccessibilityRestartsTheHelperThenOpensTheSettings) {
  writeStatus(paths, "{}");
  std::ofstream{paths.supportDir / ".asked-accessibility"}.close();
  Helper::askAccessibility(env);
  EXPECT_FALSE(std::filesystem::exists(paths.supportDir / ".asked-accessibility"));
  loop.advance(1.4);
  EXPECT_EQ(mac.calls, (Calls{"run /bin/launchctl kickstart -k gui/501/com.quillon.helper"}));
  loop.advance(0.2);
  EXPECT_EQ(mac.calls.back(),
            "open x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");
  Helper::showInFinder(env);
  EXPECT_EQ(mac.calls.back(),
            "reveal /Applications/Quillon.app/Contents/Helpers/Quillon Helper.app");
}

TEST_F(HelperControl, StartHelperIfNeededFollowsTheConfiguration) {
  auto model = makeModel();  // all mac, natural as macOS: nothing to do
  mac.agent.status_ = ServiceStatus::enabled;
  model->startHelperIfNeeded();
  EXPECT_EQ(mac.calls, (Calls{"agent.unregister"}));

  env.flags.keepForSetup = true;
  model->startHelperIfNeeded();
  EXPECT_EQ(mac.calls.back(), "agent.register") << "the setup window keeps it";
  env.flags.keepForSetup = false;

  for (const auto& edit : std::vector<std::function<void(Config&)>>{
           [](Config& c) { c.mouse.mode = "windows"; },
           [](Config& c) { c.trackpad.scrollAccelOff = true; },
           [](Config& c) { c.mouse.scrollSpeed = 1.5; },
           [](Config& c) { c.mouse.natural = !c.mouse.natural; }}) {
    const Config before = model->config();
    edit(model->config());
    mac.agent.status_ = ServiceStatus::notRegistered;
    mac.calls.clear();
    model->startHelperIfNeeded();
    EXPECT_EQ(mac.calls, (Calls{"agent.register"}));
    model->config() = before;
  }
}

TEST_F(HelperControl, StartHelperIfNeededShowsSetupWhenStartFailsOrPermissionIsMissing) {
  auto model = makeModel();
  model->config().mouse.mode = "custom";
  mac.agent.refuse = "denied";
  mac.agent.statusAfterRefusal = ServiceStatus::requiresApproval;
  model->startHelperIfNeeded();
  EXPECT_EQ(model->message(), "Allow Quillon in System Settings > General > Login Items.");
  EXPECT_EQ(mac.calls.back(), "window.showSetup");

  mac.agent.refuse.reset();
  mac.agent.status_ = ServiceStatus::notRegistered;
  mac.calls.clear();
  model->startHelperIfNeeded();
  loop.advance(2.6);
  EXPECT_EQ(mac.calls, (Calls{"agent.register"})) << "no status of this helper yet";
  // Its first status, without Accessibility.
  writeStatus(paths, R"({"accessibility":false,"pid":)" + std::to_string(::getpid()) + "}");
  loop.advance(1.0);
  EXPECT_EQ(mac.calls, (Calls{"agent.register", "window.showSetup"}))
      << "registered but no Accessibility";
  loop.advance(30);
  EXPECT_EQ(callsStartingWith("window").size(), 1u) << "decided once";

  writeStatus(paths, R"({"accessibility":true,"pid":)" + std::to_string(::getpid()) + "}");
  mac.agent.status_ = ServiceStatus::notRegistered;
  mac.calls.clear();
  model->startHelperIfNeeded();
  loop.advance(3);
  EXPECT_EQ(mac.calls, (Calls{"agent.register"}));

  std::filesystem::remove(paths.statusFile);
  mac.agent.status_ = ServiceStatus::notRegistered;
  model->startHelperIfNeeded();
  model.reset();  // the delayed check holds the model weakly
  loop.advance(30);
  EXPECT_TRUE(callsStartingWith("window").empty());
}

TEST_F(HelperControl, StartHelperIfNeededDoesNotCheckAHelperThatWasAlreadyThere) {
  auto model = makeModel();
  model->config().mouse.mode = "custom";
  mac.agent.status_ = ServiceStatus::enabled;
  mac.calls.clear();
  model->startHelperIfNeeded();
  loop.advance(5);
  EXPECT_TRUE(callsStartingWith("window").empty());
}

TEST_F(HelperControl, OpenAtLoginShowsTheRealState) {
  auto model = makeModel();
  model->setOpenAtLogin(true);
  EXPECT_TRUE(model->openAtLogin());
  mac.mainApp.refuse = "The operation couldn't be completed.";
  mac.mainApp.status_ = ServiceStatus::notRegistered;
  model->setOpenAtLogin(true);
  EXPECT_FALSE(model->openAtLogin());
  EXPECT_EQ(model->message(), "Couldn't change login item: The operation couldn't be completed.");
}

}  // namespace
}  // namespace quillon::app::test
