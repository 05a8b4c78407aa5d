// On a fresh simulated Mac with the real helper under the simulated launchd:
// from the first start through the setup window to the panel, and an
// uninstall that leaves nothing of Quillon and everything else as it was.
#include <signal.h>

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/core/feedback.h"
#include "app/ui/kit/alert.h"
#include "app/ui/kit/push_button.h"
#include "app/ui/setup/setup_step.h"
#include "app/ui/setup/setup_view.h"
#include "e2e_app.h"
#include "local_http_server.h"
#include "sim/app/launchd_holds.h"
#include "sim/app/launchd_state.h"

namespace quillon::ui::test {
namespace {

using nlohmann::json;
constexpr char kPrompt[] = "com.apple.accessibility.universalAccessAuthWarn";
constexpr char kSettings[] = "com.apple.systempreferences";
// The bundle before and after the move: compared by name and size alone.
const std::vector<std::string> kBundleFolders = {"fs/Applications/Quillon.app",
                                                 "Trash/Quillon.app"};

json readJson(const fs::path& p) {
  return json::parse(readText(p), nullptr, false);
}

class AppE2e : public E2eTest {
 protected:
  // The content of the setup window while it is open: a hidden window may
  // still hold an earlier test's view.
  SetupView* view() const {
    QWidget* w = SetupWindow::window();
    return w && w->isVisible() ? w->findChild<SetupView*>() : nullptr;
  }
  bool running(const char* bundleId) {
    return !mac->system().workspace.runningApplications(bundleId).empty();
  }
  bool centred() const {
    QWidget* w = SetupWindow::window();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    return std::abs(w->geometry().center().x() - screen.center().x()) <= 1;
  }
  bool stepDone(int n) const { return view() && view()->step(n)->state().done; }
  pid_t helperPid() const {
    return sim::readJobStatus(sim::SystemFolder(root))["com.quillon.helper"].pid;
  }

  // The helper that launchd runs now has written its status.
  bool helperReportsRunning() const {
    const pid_t pid = helperPid();
    const json status = readJson(env->paths.statusFile);
    return pid > 0 && status.is_object() && status.value("pid", 0) == pid;
  }

  void setUpFully() {
    launch();
    ASSERT_TRUE(spin([&] { return view() && view()->allDone(); }, kEventually));
    view()->doneButton()->click();
    ASSERT_TRUE(SetupWindow::isFinished(*env));
  }
};

TEST_F(AppE2e, FromTheFirstStartThroughSetupToThePanel) {
  // The helper starts only once step 1's busy row has been seen, and the
  // setup window's clock stands still: "Checking…" lasts until Input
  // Monitoring is allowed.
  const sim::SystemFolder folder(root);
  sim::holdStart(folder, "com.quillon.helper");
  SetupView::setClock([] { return 1000.0; });
  launch();
  ASSERT_TRUE(spin([&] { return view() && SetupWindow::window()->isVisible(); }, kEventually));
  EXPECT_EQ(mac->records("agentRegister").size(), 1u) << "showing the window starts the helper";
  ASSERT_TRUE(spin([&] { return view()->step(1)->busyRow()->isVisible(); }, kEventually));
  EXPECT_EQ(view()->step(1)->state().busyText, "Starting…");
  EXPECT_FALSE(stepDone(1));
  sim::releaseStart(folder, "com.quillon.helper");
  ASSERT_TRUE(spin([&] { return stepDone(1); }, kEventually)) << "the helper reports running";
  EXPECT_FALSE(view()->step(1)->busyRow()->isVisible());

  // The helper asked for Accessibility: its prompt comes forward once.
  ASSERT_TRUE(spin([&] { return running(kPrompt); }, kEventually));
  ASSERT_TRUE(spin([&] { return !mac->records("activate").empty(); }, kEventually));
  EXPECT_FALSE(SetupWindow::floating());
  view()->step(2)->button()->click();  // "Open Settings"
  ASSERT_TRUE(spin([&] { return running(kSettings); }, kEventually));

  offline(R"({"cmd":"permissions","accessibility":true})");
  ASSERT_TRUE(spin([&] { return stepDone(2); }, kEventually));
  EXPECT_TRUE(spin([&] { return !running(kPrompt); }, kEventually)) << "the prompt is dismissed";
  EXPECT_TRUE(spin([&] { return !running(kSettings); }, kEventually)) << "System Settings quit";
  EXPECT_TRUE(SetupWindow::floating());
  EXPECT_TRUE(SetupWindow::window()->isVisible());
  EXPECT_TRUE(centred());
  EXPECT_TRUE(view()->step(3)->state().busy);
  EXPECT_EQ(view()->step(3)->state().busyText, "Checking…");

  offline(R"({"cmd":"permissions","inputMonitoring":true})");
  ASSERT_TRUE(spin([&] { return stepDone(3); }, kEventually));

  view()->step(4)->button()->click();  // "Open Settings", the Display page
  EXPECT_FALSE(SetupWindow::floating());
  ASSERT_TRUE(spin([&] { return running(kSettings); }, kEventually));
  offline(R"({"cmd":"preference","key":"CGDisableCursorLocationMagnification","value":true})");
  ASSERT_TRUE(spin([&] { return stepDone(4); }, kEventually));
  EXPECT_TRUE(spin([&] { return !running(kSettings); }, kEventually));
  EXPECT_TRUE(SetupWindow::floating());

  // The close button would not finish; "Done" does.
  EXPECT_FALSE(SetupWindow::isFinished(*env));
  ASSERT_TRUE(view()->doneButton()->isEnabled());
  mac->clearRecords();
  view()->doneButton()->click();
  EXPECT_FALSE(SetupWindow::window()->isVisible());
  EXPECT_EQ(readJson(root / "defaults.json")["com.quillon.app"]["setupDone"], true);
  EXPECT_TRUE(fs::exists(env->paths.configFile)) << "finishing saves";
  EXPECT_FALSE(env->flags.keepForSetup);

  // The last side window closed: the panel comes back, and from now on the
  // status item opens it.
  EXPECT_TRUE(spin([&] { return windows.panelShown == 1; }, kEventually));
  ASSERT_TRUE(mac->clickStatusItem(1, 0));
  EXPECT_TRUE(spin([&] { return windows.panelShown == 2; }, kEventually));
  EXPECT_FALSE(SetupWindow::window()->isVisible());
}

TEST_F(AppE2e, TheCloseButtonDoesNotFinishAndTheStatusItemOpensSetupAgain) {
  launch();
  ASSERT_TRUE(spin([&] { return view() && SetupWindow::window()->isVisible(); }, kEventually));
  SetupWindow::window()->close();
  spin([] { return false; }, 500);
  EXPECT_FALSE(SetupWindow::isFinished(*env));
  EXPECT_EQ(windows.panelShown, 0);
  ASSERT_TRUE(mac->clickStatusItem(1, 3));
  EXPECT_TRUE(spin([&] { return SetupWindow::window()->isVisible(); }, kEventually));
  EXPECT_EQ(windows.panelShown, 0);
}

TEST_F(AppE2e, UninstallLeavesNothingOfQuillonAndEverythingElseAsItWas) {
  // What is not Quillon's, on the machine and in the home folder.
  writeText(root / "defaults.json", R"({"com.example.other":{"kept":true}})");
  writeText(root / "preferences.json",
            R"({"com.apple.mouse.linear":true,"com.apple.swipescrolldirection":false})");
  writeText(root / "displays.json",
            R"({"displays":[{"bounds":[0,0,1440,900],"sizeMM":[300,190],"builtIn":true}]})");
  writeText(home / "Documents/notes.txt", "my notes");
  writeText(home / "Library/Application Support/Other/data.bin", std::string("\0\1\2", 3));
  writeText(home / "Library/Logs/Other.log", "other app's log");
  offline(R"({"cmd":"permissions","accessibility":true,"inputMonitoring":true})");
  offline(R"({"cmd":"preference","key":"CGDisableCursorLocationMagnification","value":true})");

  setUpFully();
  app::Model& model = *app_->model();
  // Settings that need the helper, a saved curve, the login item.
  model.setMode(app::Mode::custom);
  model.savePreset(0);
  model.setOpenAtLogin(true);
  ASSERT_TRUE(spin([&] { return helperReportsRunning(); }, kEventually));
  ASSERT_TRUE(fs::exists(env->paths.logFile));
  // A link in the support folder to something that is the user's.
  fs::create_symlink(home / "Documents", env->paths.supportDir / "linked");
  // The setup window open, and an edit whose save is still pending.
  SetupWindow::show(model);
  model.setMode(app::Mode::windows);
  ASSERT_TRUE(model.savePending());

  const pid_t helper = helperPid();
  const auto homeBefore = tree(home);
  const auto rootBefore = tree(root, false, kBundleFolders);
  const json defaultsBefore = readJson(root / "defaults.json");
  const json prefsBefore = readJson(root / "preferences.json");
  ASSERT_EQ(prefsBefore["com.apple.mouse.linear"], true);
  const json launchdBefore = readJson(root / "launchd.json");
  ASSERT_EQ(launchdBefore["loginItems"], json({"com.quillon.app"}));
  const size_t panelBefore = static_cast<size_t>(windows.panelShown);
  mac->clearRecords();

  app::test::LocalHttpServer service(200);
  ASSERT_TRUE(app::Feedback::setUrlForTests(service.url()));
  setAlertResponder([](const AlertSpec& s) { return s.message == "Uninstall Quillon?" ? 0 : -1; });
  QTimer::singleShot(0, [] {
    UninstallSurvey::current()->findChild<QAbstractButton*>("reason2")->click();
    UninstallSurvey::current()->findChild<QAbstractButton*>("sendAndUninstall")->click();
  });
  model.uninstall();
  setAlertResponder({});
  ASSERT_TRUE(spin([&] { return terminated; }, kEventually));
  app::Feedback::setUrlForTests("");
  // The delayed deletion of the defaults runs after the app has gone, and
  // finds nothing more. Once it has ended, and the helper and launchd with
  // it, nothing of the machine runs: its files stay as they are.
  auto deletedAgain = [this] {
    std::istringstream tools(readText(root / "tools.jsonl"));
    for (std::string line; std::getline(tools, line);) {
      const json call = json::parse(line, nullptr, false);
      if (call.is_object() && call.value("tool", "") == "defaults" &&
          call.value("args", json()) == json({"delete", "com.quillon.app"}))
        return true;
    }
    return false;
  };
  EXPECT_TRUE(
      spin([&] { return deletedAgain() && sim::liveProcesses(sim::SystemFolder(root)).empty(); },
           kEventually));

  ASSERT_EQ(service.requests().size(), 1u);
  EXPECT_EQ(json::parse(service.requests()[0].body)["reasons"], json({"Something didn't work"}));

  // The helper: unregistered, gone, never registered again.
  const json launchd = readJson(root / "launchd.json");
  EXPECT_FALSE(launchd["agents"].contains("com.quillon.helper"));
  EXPECT_EQ(launchd.value("loginItems", json::array()), json::array());
  EXPECT_TRUE(spin([&] { return kill(helper, 0) != 0; }, kEventually));
  EXPECT_EQ(mac->records("agentUnregister").size(), 1u);
  EXPECT_TRUE(mac->records("agentRegister").empty());
  // macOS's settings and permissions, the defaults, the files, the bundle.
  json prefsAfter = prefsBefore;
  prefsAfter["com.apple.mouse.linear"] = false;  // macOS's acceleration back on
  EXPECT_EQ(readJson(root / "preferences.json"), prefsAfter);
  EXPECT_EQ(readJson(root / "permissions.json"),
            json({{"accessibility", false}, {"inputMonitoring", false}}));
  json defaultsAfter = defaultsBefore;
  defaultsAfter.erase("com.quillon.app");
  EXPECT_EQ(readJson(root / "defaults.json"), defaultsAfter);
  EXPECT_TRUE(mac->records("defaults").empty()) << "no setting written, setupDone neither";
  EXPECT_FALSE(fs::exists(env->paths.supportDir));
  EXPECT_FALSE(fs::exists(env->paths.logFile));
  EXPECT_FALSE(fs::exists(bundle()));
  EXPECT_EQ(tree(root / "Trash/Quillon.app", true), tree(QUILLON_BUNDLE_DIR, true));
  EXPECT_EQ(static_cast<size_t>(windows.panelShown), panelBefore) << "the panel never showed";

  // Everything else, byte for byte.
  auto homeExpected = homeBefore;
  std::erase_if(homeExpected, [](const auto& e) {
    return e.first.starts_with("Library/Application Support/Quillon") ||
           e.first == "Library/Logs/Quillon.log";
  });
  EXPECT_EQ(tree(home), homeExpected);
  // On the machine: what the uninstall changes (checked above), the
  // bookkeeping of processes, tools and the app's own channel.
  auto machineOnly = [](std::map<std::string, std::string> t) {
    std::erase_if(t, [](const auto& e) {
      const std::string& p = e.first;
      return p.starts_with("fs/Applications/Quillon.app") || p.starts_with("Trash") ||
             p == "fs/Applications" || p.starts_with("app-") || p.starts_with("launchd") ||
             p == "defaults.json" || p == "preferences.json" || p == "permissions.json" ||
             p == "apps.json" || p == "processes.json" || p == "tools.jsonl" || p == ".lock" ||
             p == "control.sock";
    });
    return t;
  };
  EXPECT_EQ(machineOnly(tree(root, false, kBundleFolders)), machineOnly(rootBefore));
}

TEST_F(AppE2e, CancelAndTheSurveysCloseButtonChangeNothing) {
  offline(R"({"cmd":"permissions","accessibility":true,"inputMonitoring":true})");
  offline(R"({"cmd":"preference","key":"CGDisableCursorLocationMagnification","value":true})");
  setUpFully();
  app::Model& model = *app_->model();
  model.setMode(app::Mode::custom);
  ASSERT_TRUE(spin([&] { return helperReportsRunning(); }, kEventually));
  spin([&] { return false; }, 500);
  // Only the app's changes count: the running helper keeps its status and log.
  auto appsOwn = [this] {
    auto t = tree(home);
    t.erase("Library/Application Support/Quillon/status.json");
    t.erase("Library/Logs/Quillon.log");
    return t;
  };
  const auto homeBefore = appsOwn();
  const json machineBefore = {readJson(root / "launchd.json"), readJson(root / "defaults.json"),
                              readJson(root / "preferences.json"),
                              readJson(root / "permissions.json")};
  mac->clearRecords();

  setAlertResponder([](const AlertSpec&) { return 1; });  // "Cancel"
  model.uninstall();
  setAlertResponder([](const AlertSpec&) { return 0; });
  QTimer::singleShot(0, [] { UninstallSurvey::current()->close(); });
  model.uninstall();
  setAlertResponder({});
  spin([] { return false; }, 1000);

  EXPECT_FALSE(env->flags.uninstalling);
  EXPECT_FALSE(terminated);
  EXPECT_EQ(appsOwn(), homeBefore);
  EXPECT_EQ(json({readJson(root / "launchd.json"), readJson(root / "defaults.json"),
                  readJson(root / "preferences.json"), readJson(root / "permissions.json")}),
            machineBefore);
  EXPECT_TRUE(mac->records("agentUnregister").empty());
  EXPECT_TRUE(mac->records("recycle").empty());
}

}  // namespace
}  // namespace quillon::ui::test
