// The helper's retry never outlives a stop, re-registers only after the old
// job has ended; the setup check waits for this helper's own first status;
// the panel's warning line says when the helper is not doing its job.
#include <unistd.h>

#include <fstream>

#include "app/core/helper_control.h"
#include "app/core/warning_line.h"
#include "config_text.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

class HelperHealth : public CoreTest {
 protected:
  // The helper file has not changed since the agent was registered.
  HelperHealth() { mac.standard.setString("helperStamp", Helper::stamp(env)); }
};
using platform::ServiceStatus;

void writeStatus(const Paths& paths, bool accessibility, bool inputMonitoring,
                 int pid = ::getpid()) {
  std::filesystem::create_directories(paths.supportDir);
  std::ofstream(paths.statusFile) << R"({"accessibility":)" << (accessibility ? "true" : "false")
                                  << R"(,"inputMonitoring":)"
                                  << (inputMonitoring ? "true" : "false")
                                  << R"(,"trackpad":true,"pid":)" << pid << "}";
}

// The trackpad in `mode`, the mouse in mode mac; natural scrolling as
// macOS has it, so that only the mode can give the helper work.
std::string configWithTrackpad(const std::string& mode) {
  std::string text = configText();
  text.replace(text.find("\"mac\""), 5, "\"" + mode + "\"");
  text.replace(text.find("\"natural\":false"), 15, "\"natural\":true");
  return text;
}

TEST_F(HelperHealth, AStopDuringAPendingRetryEndsIt) {
  for (const char* how : {"stop", "uninstalling"}) {
    SCOPED_TRACE(how);
    mac.calls.clear();
    mac.agent.status_ = ServiceStatus::notRegistered;
    ASSERT_EQ(Helper::start(env), std::nullopt);
    loop.advance(4.0);  // not running: unregistered, to be registered again
    ASSERT_EQ(mac.calls, (Calls{"agent.register", "agent.unregister"}));
    ASSERT_TRUE(Helper::retryPending(env));
    if (std::string(how) == "stop") {
      Helper::stop(env);  // the agent reads as not registered already
    } else {
      env.flags.uninstalling = true;
    }
    loop.advance(60);
    EXPECT_EQ(mac.calls, (Calls{"agent.register", "agent.unregister"}));
    EXPECT_EQ(mac.agent.status_, ServiceStatus::notRegistered);
    env.flags.uninstalling = false;
    Helper::stop(env);
  }
}

TEST_F(HelperHealth, TheRetryRegistersAgainOnlyOnceTheOldJobHasEnded) {
  mac.agent.holdUnregister = true;
  ASSERT_EQ(Helper::start(env), std::nullopt);
  loop.advance(4.0 + 30);  // launchd still reaping long after the 6 s
  EXPECT_EQ(mac.calls, (Calls{"agent.register", "agent.unregister"}));
  mac.agent.finishUnregister();
  EXPECT_EQ(mac.calls, (Calls{"agent.register", "agent.unregister", "agent.register"}));
  EXPECT_TRUE(Helper::retryPending(env)) << "the next check";
}

TEST_F(HelperHealth, AnAgentThatReadsNotFoundIsUnregisteredBeforeRegistering) {
  mac.agent.status_ = ServiceStatus::notFound;
  EXPECT_EQ(Helper::start(env), std::nullopt);
  EXPECT_EQ(mac.calls, (Calls{"agent.unregister", "agent.register"}));
}

TEST_F(HelperHealth, RestartRegistersAnewARegisteredHelperThatIsNotRunning) {
  mac.agent.status_ = ServiceStatus::enabled;
  mac.agent.holdUnregister = true;
  std::optional<std::optional<std::string>> answer;
  Helper::restart(env, [&](std::optional<std::string> e) { answer = std::move(e); });
  EXPECT_EQ(mac.calls, (Calls{"agent.unregister"}));
  EXPECT_FALSE(answer) << "not before the old job has ended";
  mac.agent.finishUnregister();
  loop.advance(0);
  EXPECT_EQ(mac.calls, (Calls{"agent.unregister", "agent.register"}));
  ASSERT_TRUE(answer);
  EXPECT_EQ(*answer, std::nullopt);

  // Running: nothing to do.
  mac.calls.clear();
  writeStatus(paths, true, true);
  Helper::restart(env, [](const std::optional<std::string>&) {});
  EXPECT_TRUE(mac.calls.empty());
}

TEST_F(HelperHealth, TheSetupCheckDecidesOnTheFirstStatusOfThisHelper) {
  struct Case {
    const char* name;
    double writtenAt;  // < 0: never
    bool accessibility;
    bool staleFileBefore;  // a running helper's file from before the registration
    double setupShownAt;   // seconds after the save; -1: never
  };
  // The first look is at 2.5 s, then one each second; at 10.5 s it gives up.
  const Case cases[] = {
      {"slow first status, allowed", 6.0, true, false, -1},
      {"slow first status, not allowed", 6.0, false, false, 6.5},
      {"no status within 10 s", -1, true, false, 10.5},
      {"a file from before says nothing", -1, true, true, 10.5},
      {"quick first status, not allowed", 1.0, false, false, 2.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(paths.supportDir);
    writeConfig(configWithTrackpad("custom"));
    if (c.staleFileBefore) writeStatus(paths, true, true);
    mac.agent.status_ = ServiceStatus::notRegistered;
    auto model = makeModel();
    model->save();
    ASSERT_EQ(mac.agent.status_, ServiceStatus::enabled);
    double shownAt = -1;
    for (int step = 1; step <= 40; ++step) {
      loop.advance(0.5);
      const double now = step * 0.5;
      if (shownAt < 0 && !callsStartingWith("window.showSetup").empty()) shownAt = now;
      if (now == c.writtenAt) writeStatus(paths, c.accessibility, true);
    }
    EXPECT_EQ(shownAt, c.setupShownAt);
    EXPECT_LE(callsStartingWith("window.showSetup").size(), 1u);
    Helper::stop(env);
    loop.advance(100);
  }
}

TEST(WarningLineRule, EachStateShowsItsLine) {
  const Helper::Status good{true, true, true, true};
  const Helper::Status notRunning{};
  const Helper::Status noAccessibility{false, true, true, true};
  const Helper::Status noInputMonitoring{true, false, true, true};
  const std::string restart = "Restart";
  const std::string setup = "Open Setup…";
  struct Case {
    const char* name;
    WarningInputs in;
    std::optional<WarningLine> line;
  };
  const Case cases[] = {
      {"good", {good, true, false, false, ""}, std::nullopt},
      {"not running",
       {notRunning, true, false, false, ""},
       WarningLine{"Quillon Helper isn't running.", WarningLine::Action::restart, restart}},
      {"no Accessibility",
       {noAccessibility, true, false, false, ""},
       WarningLine{"Quillon Helper needs Accessibility again.", WarningLine::Action::openSetup,
                   setup}},
      {"no Input Monitoring",
       {noInputMonitoring, true, false, false, ""},
       WarningLine{"Quillon Helper needs Input Monitoring again.", WarningLine::Action::openSetup,
                   setup}},
      {"helper not needed", {notRunning, false, false, false, ""}, std::nullopt},
      {"retry pending", {notRunning, true, true, false, ""}, std::nullopt},
      {"setup open", {noAccessibility, true, false, true, ""}, std::nullopt},
      {"broken file first",
       {notRunning, true, false, false, "key \"mode\" is missing"},
       WarningLine{"Couldn't read settings: key \"mode\" is missing. A copy was kept as "
                   "config.json.broken.",
                   WarningLine::Action::none, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(warningLine(c.in), c.line);
  }
}

TEST_F(HelperHealth, TheLineShowsOnlyWhenTheSettingsNeedTheHelper) {
  struct Case {
    const char* name;
    bool written, accessibility, inputMonitoring;
    const char* line;  // with one device custom
  };
  const Case cases[] = {
      {"not running", false, false, false, "Quillon Helper isn't running."},
      {"no Accessibility", true, false, true, "Quillon Helper needs Accessibility again."},
      {"no Input Monitoring", true, true, false, "Quillon Helper needs Input Monitoring again."},
      {"good", true, true, true, nullptr},
  };
  mac.agent.status_ = ServiceStatus::enabled;
  for (const Case& c : cases) {
    for (const char* mode : {"mac", "custom"}) {
      SCOPED_TRACE(std::string(c.name) + ", trackpad " + mode);
      std::filesystem::remove(paths.statusFile);
      if (c.written) writeStatus(paths, c.accessibility, c.inputMonitoring);
      writeConfig(configWithTrackpad(mode));
      auto model = makeModel();
      model->updateWarning();
      if (std::string(mode) == "mac" || c.line == nullptr) {
        EXPECT_FALSE(model->warning());
      } else {
        ASSERT_TRUE(model->warning());
        EXPECT_EQ(model->warning()->text, c.line);
      }
    }
  }
}

TEST_F(HelperHealth, APermissionWithdrawnWhileTheHelperRunsShowsWithinOneStatusInterval) {
  writeConfig(configWithTrackpad("custom"));
  mac.agent.status_ = ServiceStatus::enabled;
  writeStatus(paths, true, true);
  auto model = makeModel();
  model->watchHelper(true);
  EXPECT_FALSE(model->warning());
  // macOS withdrew Accessibility; the helper notices at its next status.
  writeStatus(paths, false, true);
  loop.advance(5.0);
  ASSERT_TRUE(model->warning());
  EXPECT_EQ(model->warning()->text, "Quillon Helper needs Accessibility again.");
  model->warningAction();
  EXPECT_EQ(callsStartingWith("window.showSetup").size(), 1u);
  // Given again: the line goes by itself.
  writeStatus(paths, true, true);
  loop.advance(5.0);
  EXPECT_FALSE(model->warning());
  // Closed panel: no more reading.
  model->watchHelper(false);
  loop.advance(10);
  EXPECT_EQ(loop.pending(), 0u);
}

TEST_F(HelperHealth, RestartFromTheLineRegistersAnewAndTheLineWaitsForTheRetry) {
  writeConfig(configWithTrackpad("custom"));
  mac.agent.status_ = ServiceStatus::enabled;
  auto model = makeModel();
  model->watchHelper(true);
  ASSERT_TRUE(model->warning());
  EXPECT_EQ(model->warning()->button, "Restart");
  model->warningAction();
  EXPECT_FALSE(model->warning()) << "registering anew";
  loop.advance(0);
  EXPECT_EQ(mac.calls, (Calls{"agent.unregister", "agent.register"}));
  EXPECT_FALSE(model->warning()) << "a check of the new registration is pending";
  writeStatus(paths, true, true);
  loop.advance(30);
  EXPECT_FALSE(model->warning());
  model->watchHelper(false);
}

}  // namespace
}  // namespace quillon::app::test
