// The app's own Windows implementation: what the core asks for reaches the
// real setup window, the uninstall's alert and survey, and the side windows
// go with the panel.
#include <QAbstractButton>
#include <QTimer>

#include "app/core/app.h"
#include "app/core/helper_control.h"
#include "app/ui/app_windows.h"
#include "app/ui/feedback/feedback_window.h"
#include "app/ui/feedback/uninstall_survey.h"
#include "app/ui/kit/alert.h"
#include "app/ui/setup/setup_window.h"
#include "panel_fixture.h"

namespace quillon::ui::test {
namespace {

class AppWindowsTest : public PanelTest {
 protected:
  ~AppWindowsTest() override {
    setAlertResponder({});
    env.flags.uninstalling = true;  // the windows go without saving
    appWindows.detach();
    env.flags.keepForSetup = false;
  }
  void start() {
    started = std::make_unique<app::App>(env, appWindows, preview, app::CommandLine{});
    appWindows.attach(env, *started);
    started->start();
    spin(50);
  }

  AppWindows appWindows{[] { return std::make_unique<FakeItem>(); }};
  std::unique_ptr<app::App> started;
};

TEST_F(AppWindowsTest, TheFirstStartShowsTheSetupWindowAndItGoesWithThePanel) {
  start();
  QWidget* setup = SetupWindow::window();
  ASSERT_NE(setup, nullptr);
  EXPECT_TRUE(setup->isVisible());
  EXPECT_EQ(setup->windowTitle(), "Set up Quillon");
  EXPECT_TRUE(appWindows.setupVisible());
  EXPECT_TRUE(env.flags.keepForSetup);

  // Closed without finishing: not visible, setup still unfinished.
  setup->close();
  EXPECT_FALSE(appWindows.setupVisible());
  EXPECT_FALSE(SetupWindow::isFinished(env));

  env.flags.uninstalling = true;  // nothing may be saved while the windows go
  appWindows.detach();
  EXPECT_EQ(SetupWindow::window(), nullptr);
}

TEST_F(AppWindowsTest, TheUninstallsQuestionsAreTheRealOnes) {
  setSetupDone(true);
  writeConfig("{}");
  start();
  std::vector<QString> asked;
  setAlertResponder([&](const AlertSpec& s) {
    asked.push_back(s.message);
    return s.buttons.indexOf("Cancel");
  });
  EXPECT_FALSE(appWindows.confirmUninstall());
  EXPECT_EQ(asked, std::vector<QString>{"Uninstall Quillon?"});

  QTimer::singleShot(
      0, [] { UninstallSurvey::current()->findChild<QAbstractButton*>("skip")->click(); });
  EXPECT_EQ(appWindows.askUninstallSurvey().kind, app::SurveyOutcome::Kind::skipped);
  EXPECT_EQ(UninstallSurvey::current(), nullptr);
}

}  // namespace
}  // namespace quillon::ui::test
