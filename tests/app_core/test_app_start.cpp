// Start-up: the command line, the order of the first steps, reopening, the
// hot keys and the device of the opening click.
#include <sstream>

#include "app/core/app.h"
#include "app/core/helper_command.h"
#include "app/core/hot_keys.h"
#include "app/core/installer.h"
#include "app/core/last_device.h"
#include "config_text.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

using AppStart = CoreTest;

TEST(CommandLineParse, FlagsAnywhere) {
  struct Case {
    std::vector<std::string> args;
    std::optional<std::string> helper;
    bool snapshot;
    std::optional<std::string> folder;
    bool survey;
  };
  const Case cases[] = {
      {{"quillon"}, {}, false, {}, false},
      {{"quillon", "-x", "--helper", "status"}, "status", false, {}, false},
      {{"quillon", "--helper"}, {}, false, {}, false},
      {{"quillon", "--snapshot"}, {}, true, {}, false},
      {{"quillon", "--snapshot", "/tmp/s", "--survey"}, {}, true, "/tmp/s", true},
      {{"quillon", "--Helper", "status"}, {}, false, {}, false},
      {{"--helper"}, {}, false, {}, false},
  };
  for (const Case& c : cases) {
    const CommandLine cl = parseCommandLine(c.args);
    EXPECT_EQ(cl.helperWord, c.helper);
    EXPECT_EQ(cl.snapshot, c.snapshot);
    EXPECT_EQ(cl.snapshotFolder, c.folder);
    EXPECT_EQ(cl.survey, c.survey);
  }
  EXPECT_EQ(surveyOutcomeText({SurveyOutcome::Kind::cancelled, {}, ""}), "cancelled\n");
  EXPECT_EQ(surveyOutcomeText({SurveyOutcome::Kind::skipped, {}, ""}), "skipped\n");
  EXPECT_EQ(surveyOutcomeText({SurveyOutcome::Kind::answered,
                               {"It costs too much", "I'm using a different app"},
                               "bye"}),
            "reasons: [\"It costs too much\", \"I'm using a different app\"]\nmessage: bye\n");
}

TEST_F(AppStart, HelperCommandPrintsTheTwoStatusLines) {
  std::ostringstream out;
  EXPECT_EQ(runHelperCommand(env, "register", out), 0);
  EXPECT_EQ(out.str(),
            "registered\nagent status: 1 (0 not registered, 1 enabled, 2 needs approval, 3 not "
            "found)\nhelper: Status(accessibility: false, inputMonitoring: false, trackpad: "
            "false, running: false)\n");
  out.str("");
  runHelperCommand(env, "unregister", out);
  EXPECT_EQ(out.str().substr(0, 29), "unregistered\nagent status: 0 ");
  out.str("");
  mac.agent.refuse = "nope";
  runHelperCommand(env, "register", out);
  EXPECT_EQ(out.str().substr(0, 45), "Couldn't start Quillon Helper: nope\nagent sta");
  out.str("");
  runHelperCommand(env, "status", out);
  EXPECT_EQ(out.str().substr(0, 15), "agent status: 0");
  EXPECT_TRUE(mac.standard.values.empty()) << "the tool writes no defaults";
}

TEST_F(AppStart, NormalStartQueuesTheHelperAfterLaunching) {
  writeConfig(configText("", "", "30"));
  mac.standard.setBool("setupDone", true);
  mac.standard.setInt("NSInitialToolTipDelay", 1500);
  App app(env, windows, preview, parseCommandLine({"quillon"}));
  app.start();
  EXPECT_EQ(mac.standard.intValue("NSInitialToolTipDelay"), 500);
  EXPECT_EQ(App::toolTipDelayMs(env), 500);
  EXPECT_EQ(callsStartingWith("hotKey"),
            (std::vector<std::string>{"hotKey 15 6400 1363955286 1", "hotKey 46 6400 1363955286 2",
                                      "hotKey 29 6400 1363955286 3"}));
  EXPECT_EQ(app.hotKeyRefs(), (std::vector<std::optional<uint64_t>>{101, 102, 103}));
  ASSERT_NE(app.model(), nullptr);
  EXPECT_TRUE(mac.standard.values.count("helperStamp")) << "Model.init checked the helper's copy";
  ASSERT_FALSE(mac.calls.empty());
  EXPECT_EQ(mac.calls.back(), "hid.parameter HIDUseLinearScalingMouseAcceleration 0")
      << "Model.init ends by applying macOS's mouse acceleration";
  mac.calls.clear();
  loop.advance(0);
  EXPECT_EQ(mac.calls, (Calls{"window.setUpPanel", "agent.register"}))
      << "the panel first, then startHelperIfNeeded (the mouse scrolls unlike macOS)";
}

TEST_F(AppStart, FirstStartOpensTheSetupWindow) {
  mac.standard.setBool("setupDone", true);  // but no config.json
  App app(env, windows, preview, parseCommandLine({"quillon"}));
  app.start();
  mac.calls.clear();
  loop.advance(0);
  EXPECT_EQ(mac.calls, (Calls{"window.setUpPanel", "window.showSetup"}));
}

TEST_F(AppStart, PreviewOnlyStartsTouchNothing) {
  struct Case {
    std::vector<std::string> args;
    bool installer;
    Calls afterLaunch;
  };
  const Case cases[] = {
      {{"quillon", "--snapshot"}, false, {"window.setUpPanel"}},
      {{"quillon", "--survey"}, false, {"window.survey", "window.terminate 0"}},
      {{"quillon"}, true, {"window.terminate 0"}},  // the installer's offer, stubbed
  };
  for (const Case& c : cases) {
    env.flags = {};
    env.installer.runningFromInstaller = [&c] { return c.installer; };
    mac.prefs["com.apple.mouse.linear"] = true;
    App app(env, windows, preview, parseCommandLine(c.args));
    app.start();
    EXPECT_TRUE(env.flags.previewOnly);
    EXPECT_EQ(env.flags.installerPending, c.installer);
    EXPECT_EQ(mac.calls, (Calls{})) << "no hot keys, no migration, no macOS settings";
    EXPECT_FALSE(mac.standard.values.count("helperStamp")) << "no helper check";
    EXPECT_EQ(mac.standard.intValue("NSInitialToolTipDelay"), 500);
    loop.advance(10);
    EXPECT_EQ(mac.calls, c.afterLaunch);
    mac.calls.clear();
    app.applicationShouldHandleReopen();
    if (c.installer) {
      EXPECT_TRUE(mac.calls.empty()) << "reopen does nothing while pending";
    }
    mac.calls.clear();
  }
}

TEST_F(AppStart, ReopenAnswersFalseAndPicksTheWindow) {
  App app(env, windows, preview, parseCommandLine({"quillon"}));
  app.start();
  loop.advance(0);
  struct Case {
    bool setupDone, setupVisible;
    const char* call;
  };
  for (const Case& c :
       {Case{false, false, "window.showSetup"}, Case{true, true, "window.showSetup"},
        Case{true, false, "window.showPanel"}}) {
    mac.standard.setBool("setupDone", c.setupDone);
    windows.setupIsVisible = c.setupVisible;
    mac.calls.clear();
    ASSERT_TRUE(mac.reopenHandler);
    EXPECT_FALSE(app.applicationShouldHandleReopen());
    mac.reopenHandler();
    EXPECT_EQ(mac.calls, (Calls{c.call, c.call}));
  }
}

TEST_F(AppStart, HotKeysQueueTheirActions) {
  App app(env, windows, preview, parseCommandLine({"quillon"}));
  app.start();
  loop.advance(0);
  Model& model = *app.model();
  model.setMode(Mode::custom);
  model.binding (&DeviceConfig::speed)(20);
  mac.hotKeyHandler(1);
  EXPECT_EQ(model.cfg().speed, 20) << "not inside the handler";
  mac.hotKeyHandler(99);
  loop.advance(0);
  EXPECT_EQ(model.cfg().speed, 10);
  mac.hotKeyHandler(2);
  loop.advance(0);
  EXPECT_EQ(model.mode(), Mode::mac);
}

TEST_F(AppStart, OpeningClickPicksTheDevice) {
  auto model = makeModel();
  int published = 0;
  QObject::connect(model.get(), &Model::deviceChanged, [&] { ++published; });
  struct Case {
    std::optional<platform::CurrentEvent> event;
    Device device;
  };
  const Case cases[] = {
      {platform::CurrentEvent{1, 0}, Device::mouse},
      {platform::CurrentEvent{2, 3}, Device::trackpad},
      {platform::CurrentEvent{10, 0}, Device::trackpad},
      {std::nullopt, Device::trackpad},
      {platform::CurrentEvent{3, 1}, Device::mouse},
      {platform::CurrentEvent{4, 0}, Device::mouse},
  };
  for (const Case& c : cases) {
    mac.currentEvent = c.event;
    LastDevice::fromOpeningClick(env, *model);
    EXPECT_EQ(model->device(), c.device);
  }
  EXPECT_EQ(published, 3) << "an unchanged device is not republished";
}

}  // namespace
}  // namespace quillon::app::test
