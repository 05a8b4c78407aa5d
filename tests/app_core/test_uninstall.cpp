// Uninstalling: every way out before the removal changes nothing; the
// removal runs in order, each step whatever the others did, and the app
// ends when the Trash answers. The support folder goes without following
// links out of it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "app/core/feedback.h"
#include "core_fixture.h"
#include "local_http_server.h"

namespace quillon::app::test {
namespace {

namespace fs = std::filesystem;
using platform::ServiceStatus;

void write(const fs::path& p, const std::string& text) {
  fs::create_directories(p.parent_path());
  std::ofstream(p) << text;
}

std::string read(const fs::path& p) {
  std::ifstream in(p);
  return {std::istreambuf_iterator<char>(in), {}};
}

class Uninstall : public CoreTest {
 protected:
  Uninstall() {
    mac.agent.status_ = ServiceStatus::enabled;
    mac.mainApp.status_ = ServiceStatus::enabled;
    write(paths.configFile, "{}");
    write(paths.statusFile, "{}");
    write(paths.logFile, "[2026-01-01 10:00:00] started\n");
    // Links inside the support folder to things outside it.
    write(outside / "keep.txt", "mine");
    fs::create_symlink(outside, paths.supportDir / "linked-folder");
    fs::create_symlink(outside / "keep.txt", paths.supportDir / "linked-file");
  }
  ~Uninstall() override {
    Feedback::setUrlForTests("");
    Feedback::setTimeLimitForTests(0);
  }

  fs::path outside = root / "elsewhere";
};

const Calls kRemoval = {
    "agent.unregister",
    "mainApp.unregister",
    "pref com.apple.mouse.linear false",
    "hid.client HIDUseLinearScalingMouseAcceleration 0",
    "hid.parameter HIDUseLinearScalingMouseAcceleration 0",
    "removeAppDomain",
    "detached /bin/sh -c sleep 1.5; /usr/bin/defaults delete \"$0\" com.quillon.app",
    "run /usr/bin/tccutil reset Accessibility com.quillon.helper",
    "run /usr/bin/tccutil reset ListenEvent com.quillon.helper",
    "recycle /Applications/Quillon.app",
    "terminateSelf",
};

Calls concat(Calls a, const Calls& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(Uninstall, EveryWayOutBeforeTheRemovalChangesNothing) {
  struct Case {
    const char* name;
    bool confirm;
    SurveyOutcome::Kind survey;
    Calls calls;
  };
  const Case cases[] = {
      {"Cancel in the alert",
       false,
       SurveyOutcome::Kind::answered,
       {"window.activate", "window.confirmUninstall"}},
      {"the survey's close button",
       true,
       SurveyOutcome::Kind::cancelled,
       {"window.activate", "window.confirmUninstall", "window.survey"}},
  };
  for (const Case& c : cases) {
    auto model = makeModel();
    windows.confirm = c.confirm;
    windows.survey.kind = c.survey;
    model->uninstall();
    loop.advance(1);
    EXPECT_EQ(mac.calls, c.calls) << c.name;
    EXPECT_FALSE(env.flags.uninstalling) << c.name;
    EXPECT_TRUE(fs::exists(paths.configFile)) << c.name;
    EXPECT_TRUE(fs::exists(paths.logFile)) << c.name;
  }
}

TEST_F(Uninstall, SkipRemovesEverythingInOrderAndEndsTheApp) {
  mac.prefs["com.apple.mouse.linear"] = true;  // acceleration off in macOS
  auto model = makeModel();
  ASSERT_FALSE(model->mouseMacAccel());
  windows.confirm = true;
  windows.survey.kind = SurveyOutcome::Kind::skipped;
  model->uninstall();
  EXPECT_TRUE(env.flags.uninstalling);
  EXPECT_EQ(mac.calls, (Calls{"window.activate", "window.confirmUninstall", "window.survey",
                              "window.closeSideWindows"}))
      << "the removal waits for the next turn";
  loop.advance(0);
  EXPECT_EQ(mac.calls, concat({"window.activate", "window.confirmUninstall", "window.survey",
                               "window.closeSideWindows"},
                              kRemoval));
  EXPECT_TRUE(model->mouseMacAccel());
  EXPECT_FALSE(fs::exists(paths.supportDir));
  EXPECT_FALSE(fs::exists(paths.logFile));
  EXPECT_EQ(read(outside / "keep.txt"), "mine");
}

// A helper that launchd has not ended yet when the agent is unregistered
// would write its status into a support folder made anew.
TEST_F(Uninstall, TheSupportFolderGoesOnlyOnceTheHelperHasEnded) {
  for (const bool endsItself : {true, false}) {
    SCOPED_TRACE(endsItself ? "ends by itself" : "ended by the uninstall");
    write(paths.statusFile, "{}");
    const pid_t helper = ::fork();
    ASSERT_GE(helper, 0);
    if (helper == 0) {
      ::pause();
      ::_exit(0);
    }
    write(paths.statusFile, R"({"accessibility":true,"pid":)" + std::to_string(helper) + "}");
    env.flags.uninstalling = false;
    auto model = makeModel();
    windows.confirm = true;
    windows.survey.kind = SurveyOutcome::Kind::skipped;
    model->uninstall();
    loop.advance(1.0);
    EXPECT_EQ(callsStartingWith("agent.unregister").size(), 1u);
    EXPECT_TRUE(fs::exists(paths.supportDir)) << "the helper still runs";
    EXPECT_TRUE(callsStartingWith("recycle").empty());

    if (endsItself) {
      ::kill(helper, SIGTERM);
    } else {
      loop.advance(4.5);  // 5 s after the unregistering: ended
    }
    // Reaped here, so that the probe sees it gone.
    int status = 0;
    ASSERT_EQ(::waitpid(helper, &status, 0), helper);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), endsItself ? SIGTERM : SIGKILL);
    loop.advance(0.2);
    EXPECT_FALSE(fs::exists(paths.supportDir));
    EXPECT_EQ(callsStartingWith("recycle").size(), 1u);
    mac.agent.status_ = ServiceStatus::enabled;
    mac.calls.clear();
  }
}

TEST_F(Uninstall, NoStepStopsTheOthers) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    Calls removal;
  };
  Calls noDefaults = kRemoval;
  std::erase_if(noDefaults, [](const std::string& c) {
    return c == "removeAppDomain" || c.rfind("detached", 0) == 0;
  });
  Calls accelOn = kRemoval;
  std::erase(accelOn, "pref com.apple.mouse.linear false");
  Calls notRegistered = kRemoval;
  std::erase(notRegistered, "agent.unregister");
  Calls unbundled = kRemoval;
  std::erase(unbundled, "recycle /Applications/Quillon.app");
  const Case cases[] = {
      {"a bundle without identifier leaves the defaults",
       [this] {
         mac.bundleIdentifier = "";
         mac.prefs["com.apple.mouse.linear"] = true;
       },
       noDefaults},
      {"acceleration already on: only applied", [] {}, accelOn},
      {"the Trash refuses: the app still ends",
       [this] {
         mac.recycleError = "Permission denied";
         mac.prefs["com.apple.mouse.linear"] = true;
       },
       kRemoval},
      {"run outside an app bundle: its folder stays",
       [this] {
         mac.bundlePath = "/Users/me/build/bin";
         mac.prefs["com.apple.mouse.linear"] = true;
       },
       unbundled},
      {"no helper registered, no support folder",
       [this] {
         mac.agent.status_ = ServiceStatus::notRegistered;
         fs::remove_all(paths.supportDir);
         mac.prefs["com.apple.mouse.linear"] = true;
       },
       notRegistered},
  };
  for (const Case& c : cases) {
    env.flags.uninstalling = false;
    mac.bundleIdentifier = "com.quillon.app";
    mac.bundlePath = "/Applications/Quillon.app";
    mac.recycleError.reset();
    mac.prefs.clear();
    mac.agent.status_ = ServiceStatus::enabled;
    c.arrange();
    auto model = makeModel();
    windows.confirm = true;
    windows.survey.kind = SurveyOutcome::Kind::skipped;
    model->uninstall();
    loop.advance(0);
    EXPECT_EQ(callsStartingWith("window."), (Calls{"window.activate", "window.confirmUninstall",
                                                   "window.survey", "window.closeSideWindows"}))
        << c.name;
    Calls removal = mac.calls;
    removal.erase(removal.begin(), removal.begin() + 4);
    EXPECT_EQ(removal, c.removal) << c.name;
  }
}

TEST_F(Uninstall, AnAnswerIsSentFirstAndAFailedSendDoesNotHoldTheRemovalBack) {
  LocalHttpServer server(500);
  ASSERT_TRUE(Feedback::setUrlForTests(server.url()));
  mac.prefs["com.apple.mouse.linear"] = true;
  auto model = makeModel();
  windows.confirm = true;
  windows.survey = {SurveyOutcome::Kind::answered, {"It was too complicated"}, "Too many steps"};
  model->uninstall();
  EXPECT_TRUE(callsStartingWith("agent.").empty()) << "nothing goes before the answer";
  ASSERT_TRUE(spinUntil([&] { return !callsStartingWith("terminateSelf").empty(); }, 60000));
  ASSERT_EQ(server.requests().size(), 1u);
  const auto body = nlohmann::json::parse(server.requests()[0].body);
  EXPECT_EQ(body["kind"], "uninstall");
  EXPECT_EQ(body["message"], "Too many steps");
  EXPECT_EQ(body["email"], "");
  EXPECT_EQ(body["reasons"], nlohmann::json({"It was too complicated"}));
  EXPECT_EQ(callsStartingWith("recycle").size(), 1u);

  // "Send and Uninstall" with nothing ticked or typed still sends.
  env.flags.uninstalling = false;
  mac.calls.clear();
  LocalHttpServer second(200);
  ASSERT_TRUE(Feedback::setUrlForTests(second.url()));
  auto again = makeModel();
  windows.survey = {SurveyOutcome::Kind::answered, {}, ""};
  again->uninstall();
  ASSERT_TRUE(spinUntil([&] { return !callsStartingWith("terminateSelf").empty(); }, 60000));
  ASSERT_EQ(second.requests().size(), 1u);
  EXPECT_EQ(nlohmann::json::parse(second.requests()[0].body)["reasons"], nlohmann::json::array());
}

TEST_F(Uninstall, AServiceThatNeverFinishesItsAnswerDoesNotHoldTheRemovalBack) {
  LocalHttpServer server(200);
  server.setDelivery(LocalHttpServer::Delivery::trickle);  // a byte now and then, for ever
  ASSERT_TRUE(Feedback::setUrlForTests(server.url()));
  Feedback::setTimeLimitForTests(200);
  auto model = makeModel();
  windows.confirm = true;
  windows.survey = {SurveyOutcome::Kind::answered, {}, "Bye"};
  model->uninstall();
  EXPECT_TRUE(spinUntil([&] { return !callsStartingWith("terminateSelf").empty(); }, 30000));
  EXPECT_EQ(callsStartingWith("recycle").size(), 1u);
}

TEST_F(Uninstall, NothingIsSavedOnceItHasBegun) {
  auto model = makeModel();
  windows.confirm = true;
  windows.survey.kind = SurveyOutcome::Kind::skipped;
  model->cfg().mode = "custom";
  model->changed();  // an edit just before: its save is still pending
  model->uninstall();
  loop.advance(0);
  spinUntil([] { return false; }, Model::kSaveDelayMs + 200);
  EXPECT_FALSE(fs::exists(paths.configFile));
  EXPECT_TRUE(callsStartingWith("agent.register").empty());
}

}  // namespace
}  // namespace quillon::app::test
