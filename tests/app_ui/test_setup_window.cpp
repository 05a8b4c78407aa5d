// The setup window on the fake Mac: showing it, each step's state, the way
// back from System Settings, and the ways the window closes.
#include <gtest/gtest.h>

#include <QPointer>

#include "app/core/feedback.h"
#include "app/ui/kit/link_button.h"
#include "app/ui/kit/push_button.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/setup/setup_step.h"
#include "setup_fixture.h"

namespace quillon::ui::test {
namespace {

using platform::ServiceStatus;
constexpr char kPrompt[] = "com.apple.accessibility.universalAccessAuthWarn";
constexpr char kSettings[] = "com.apple.systempreferences";

class Setup : public WindowTest {
 protected:
  SetupView* show() {
    SetupWindow::show(*model);
    return view();
  }
  static SetupView* view() { return SetupWindow::window()->findChild<SetupView*>(); }
  // Centred, 8 % of the visible height above the middle (the frame may add a
  // few points).
  static bool isCentred() {
    const QRect frame = SetupWindow::window()->frameGeometry();
    const QRectF vf = visibleFrame();
    const double wantTop = vf.center().y() - frame.height() / 2.0 - vf.height() * 0.08;
    return std::abs(frame.center().x() - vf.center().x()) <= 4 &&
           std::abs(frame.top() - wantTop) <= 4;
  }
  // Everything done but what the test takes away.
  void allDone() {
    mac.agent.status_ = ServiceStatus::enabled;
    helperReports(true, true);
    mac.prefs["CGDisableCursorLocationMagnification"] = true;
  }
  bool setupDone() { return mac.standard.boolValue("setupDone").value_or(false); }
};

TEST_F(Setup, FirstShowStartsTheHelperAndStepOneWaitsForIt) {
  SetupView* v = show();
  QWidget* w = SetupWindow::window();
  EXPECT_TRUE(env.flags.keepForSetup);
  EXPECT_EQ(callsStartingWith("agent.register").size(), 1u) << "started once, by show()";
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), "Set up Quillon");
  EXPECT_EQ(w->width(), 440);
  EXPECT_TRUE(SetupWindow::floating());
  EXPECT_TRUE(isCentred());
  EXPECT_TRUE(v->ticking());

  EXPECT_TRUE(v->step(1)->state().busy);
  EXPECT_EQ(v->step(1)->state().busyText, "Starting…");
  EXPECT_TRUE(v->step(1)->busyRow()->isVisible());
  EXPECT_FALSE(v->step(1)->button()->isVisible());

  helperReports(false, false);
  v->update();
  EXPECT_TRUE(v->step(1)->state().done);
  EXPECT_EQ(v->step(1)->iconName(), "checkmark.circle.fill");
  EXPECT_FALSE(v->step(1)->busyRow()->isVisible());
  EXPECT_EQ(v->step(2)->iconName(), "2.circle");
  EXPECT_EQ(v->statusLine()->text(), "Finish all four steps to start using Quillon.");
  EXPECT_FALSE(v->doneButton()->isEnabled());
  EXPECT_TRUE(v->anywayLink()->isVisible());
}

TEST_F(Setup, EachStepShowsItsTextsAndIsEnabledOnlyWhenItCanBeDone) {
  struct Case {
    const char* name;
    ServiceStatus agent;
    bool running, accessibility;
    std::array<bool, 4> enabled;
  };
  const Case cases[] = {
      {"not registered", ServiceStatus::notFound, false, false, {true, false, false, true}},
      {"registered", ServiceStatus::enabled, true, false, {true, true, false, true}},
      {"with Accessibility", ServiceStatus::enabled, true, true, {true, true, true, true}},
  };
  for (const Case& c : cases) {
    mac.agent.status_ = c.agent;
    mac.agent.refuse = "No such plist";  // keeps the status as it is
    mac.agent.statusAfterRefusal = c.agent;
    if (c.running) helperReports(c.accessibility, false);
    SetupView* v = show();
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(v->step(i + 1)->state().enabled, c.enabled[i]) << c.name << " step " << i + 1;
      EXPECT_EQ(v->step(i + 1)->button()->isEnabled(), c.enabled[i]) << c.name;
    }
    EXPECT_EQ(v->step(2)->extraLink()->text(), "Show in Finder");
    EXPECT_EQ(v->step(2)->extraLink()->isEnabled(), c.enabled[1]) << c.name;
    EXPECT_EQ(v->step(3)->extraLink()->isEnabled(), c.enabled[2]) << c.name;
    EXPECT_FALSE(v->step(1)->extraLink()->isVisible());
    EXPECT_FALSE(v->step(4)->extraLink()->isVisible());
    EXPECT_EQ(v->step(4)->state().detail,
              "macOS can mistake Quillon's pointer movement for a shake and make the pointer big. "
              "Switch off Shake mouse pointer to locate, under Pointer.");
    SetupWindow::window()->close();
  }
}

TEST_F(Setup, RequiresApprovalPointsToLoginItems) {
  mac.agent.status_ = ServiceStatus::requiresApproval;
  SetupView* v = show();
  EXPECT_TRUE(callsStartingWith("agent.register").empty());
  EXPECT_EQ(v->step(1)->state().detail, "Switch on Quillon in Login Items.");
  EXPECT_EQ(v->step(1)->button()->text(), "Open Login Items");
  v->step(1)->button()->click();
  EXPECT_EQ(callsStartingWith("openLoginItems").size(), 1u);
  EXPECT_TRUE(callsStartingWith("agent.register").empty());

  mac.agent.status_ = ServiceStatus::notRegistered;
  v->update();
  EXPECT_EQ(v->step(1)->state().detail, "Runs in the background, also after restarts.");
  EXPECT_EQ(v->step(1)->button()->text(), "Start");
}

TEST_F(Setup, AFailedStartShowsInRedUntilTheHelperIsRegistered) {
  mac.agent.refuse = "Operation not permitted";
  mac.agent.statusAfterRefusal = ServiceStatus::notRegistered;
  SetupView* v = show();
  EXPECT_TRUE(v->errorLabel()->isVisible());
  EXPECT_EQ(v->errorLabel()->text(), "Couldn't start Quillon Helper: Operation not permitted");
  mac.agent.refuse.reset();
  v->step(1)->button()->click();  // "Start"
  EXPECT_EQ(mac.agent.status_, ServiceStatus::enabled);
  EXPECT_FALSE(v->errorLabel()->isVisible());
  EXPECT_FALSE(v->error().has_value());
}

TEST_F(Setup, GrantingAccessibilityBringsTheWindowBackAndChecksInputMonitoring) {
  mac.agent.status_ = ServiceStatus::enabled;
  helperReports(false, false);
  mac.running[kPrompt] = {{1000, kPrompt}};
  mac.running[kSettings] = {{2000, kSettings}};
  SetupView* v = show();
  // The prompt comes forward once, and the window lets it.
  EXPECT_EQ(callsStartingWith("activate "), (app::test::Calls{"activate 1000"}));
  EXPECT_FALSE(SetupWindow::floating());
  EXPECT_EQ(v->opened(), SetupView::Opened::accessibility);
  v->update();
  EXPECT_EQ(callsStartingWith("activate ").size(), 1u);
  mac.running[kPrompt] = {{1001, kPrompt}};  // a new prompt process
  v->update();
  EXPECT_EQ(callsStartingWith("activate ").back(), "activate 1001");

  helperReports(true, false);
  v->update();
  EXPECT_EQ(callsStartingWith("terminate "),
            (app::test::Calls{"terminate 1001", "terminate 2000"}));
  EXPECT_TRUE(mac.running[kSettings].empty());
  EXPECT_TRUE(SetupWindow::floating());
  EXPECT_TRUE(isCentred());
  EXPECT_FALSE(v->opened().has_value());
  EXPECT_TRUE(v->step(2)->state().done);
  EXPECT_TRUE(v->step(3)->state().busy);
  EXPECT_EQ(v->step(3)->state().busyText, "Checking…");

  clock += 29.5;
  v->update();
  EXPECT_TRUE(v->checkingInputMonitoring());
  clock += 1;
  v->update();
  EXPECT_FALSE(v->step(3)->state().busy);
  EXPECT_TRUE(v->step(3)->button()->isVisible());
  EXPECT_TRUE(v->step(3)->button()->isEnabled());
  v->step(3)->button()->click();
  EXPECT_EQ(callsStartingWith("open ").back(),
            "open x-apple.systempreferences:com.apple.preference.security?Privacy_ListenEvent");
}

TEST_F(Setup, OpenSettingsLowersTheWindowAndAsksForAccessibilityAgain) {
  mac.agent.status_ = ServiceStatus::enabled;
  helperReports(false, false);
  SetupView* v = show();
  v->step(2)->button()->click();
  EXPECT_FALSE(SetupWindow::floating());
  EXPECT_EQ(v->opened(), SetupView::Opened::accessibility);
  EXPECT_EQ(callsStartingWith("run /bin/launchctl"),
            (app::test::Calls{"run /bin/launchctl kickstart -k gui/501/com.quillon.helper"}));
  v->step(2)->extraLink()->click();
  EXPECT_EQ(
      callsStartingWith("reveal"),
      (app::test::Calls{"reveal /Applications/Quillon.app/Contents/Helpers/Quillon Helper.app"}));
}

TEST_F(Setup, SwitchingShakeToLocateOffTicksStepFourAndComesBack) {
  mac.agent.status_ = ServiceStatus::enabled;
  helperReports(true, true);
  mac.running[kSettings] = {{2000, kSettings}};
  SetupView* v = show();
  EXPECT_FALSE(v->step(4)->state().done);
  v->step(4)->button()->click();
  EXPECT_FALSE(SetupWindow::floating());
  EXPECT_EQ(callsStartingWith("open ").back(),
            "open x-apple.systempreferences:com.apple.Accessibility-Settings.extension?Display");
  v->update();
  EXPECT_FALSE(SetupWindow::floating()) << "still on";
  mac.prefs["CGDisableCursorLocationMagnification"] = true;
  v->update();
  EXPECT_TRUE(v->step(4)->state().done);
  EXPECT_EQ(callsStartingWith("terminate "), (app::test::Calls{"terminate 2000"}));
  EXPECT_TRUE(SetupWindow::floating());
  EXPECT_TRUE(v->allDone());
  EXPECT_TRUE(v->doneButton()->isEnabled());
  EXPECT_FALSE(v->anywayLink()->isVisible());
  EXPECT_EQ(v->statusLine()->text(),
            "All set. Quillon lives in the menu bar, at the top right of the screen.");
}

TEST_F(Setup, OnlyDoneAndUseAnywayFinishSetup) {
  struct Case {
    const char* name;
    std::function<void(SetupView*)> act;
    bool finished;  // "setupDone" stored
    bool closed;    // the window closed, the helper let go and the model saved
  };
  const Case cases[] = {
      {"Done", [](SetupView* v) { v->doneButton()->click(); }, true, true},
      {"Use Quillon Anyway",
       [](SetupView* v) {
         setAlertResponder([](const AlertSpec&) { return 0; });
         v->anywayLink()->click();
       },
       true, true},
      {"Back to Setup",
       [](SetupView* v) {
         setAlertResponder([](const AlertSpec&) { return 1; });
         v->anywayLink()->click();
       },
       false, false},
      {"the close button", [](SetupView*) { SetupWindow::window()->close(); }, false, true},
  };
  for (const Case& c : cases) {
    mac.standard.remove("setupDone");
    std::filesystem::remove(paths.configFile);
    allDone();
    if (std::string(c.name) != "Done") mac.prefs.erase("CGDisableCursorLocationMagnification");
    SetupView* v = show();
    c.act(v);
    setAlertResponder({});
    EXPECT_EQ(setupDone(), c.finished) << c.name;
    EXPECT_EQ(SetupWindow::window()->isVisible(), !c.closed) << c.name;
    EXPECT_EQ(env.flags.keepForSetup, !c.closed) << c.name;
    EXPECT_EQ(std::filesystem::exists(paths.configFile), c.closed) << c.name << ": saved";
    if (!c.closed) SetupWindow::window()->close();
  }
}

TEST_F(Setup, ClosingWhileUninstallingNeitherSavesNorFinishes) {
  allDone();
  SetupView* v = show();
  env.flags.uninstalling = true;
  v->doneButton()->click();
  env.flags.uninstalling = false;
  EXPECT_FALSE(setupDone());
  EXPECT_FALSE(std::filesystem::exists(paths.configFile));
  EXPECT_TRUE(env.flags.keepForSetup);
}

TEST_F(Setup, TheWarningNamesTheSupportAddressAndTheButtonsInOrder) {
  std::vector<AlertSpec> asked;
  setAlertResponder([&](const AlertSpec& s) {
    asked.push_back(s);
    return 1;
  });
  show()->useAnyway();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].message, "Use Quillon without finishing setup?");
  EXPECT_TRUE(asked[0].informativeText.endsWith(QString("or email ") + app::Feedback::supportEmail +
                                                ", and we'll help."));
  EXPECT_TRUE(asked[0].informativeText.startsWith(
      "Quillon may not work, or only partly, until every step is ticked. You can come back to "
      "this any time from Setup… in Quillon's menu bar panel.\n\nIf a step won't tick"));
  EXPECT_EQ(asked[0].buttons, (QStringList{"Use Quillon Anyway", "Back to Setup"}));
  EXPECT_EQ(asked[0].style, AlertStyle::warning);
}

TEST_F(Setup, AShowingWhileOpenKeepsTheContentAndAHiddenWindowGetsNew) {
  // A guarded pointer: the new view may take the old one's address.
  QPointer<SetupView> first = show();
  EXPECT_EQ(show(), first);
  SetupWindow::window()->close();
  EXPECT_FALSE(first->ticking());
  SetupView* second = show();
  EXPECT_TRUE(first.isNull()) << "the old content is gone";
  EXPECT_TRUE(second->ticking());
  EXPECT_EQ(SetupWindow::window()->findChildren<SetupView*>().size(), 1);
}

}  // namespace
}  // namespace quillon::ui::test
