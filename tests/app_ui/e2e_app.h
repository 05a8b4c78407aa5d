#pragma once

// The app, in this process, on a fresh simulated Mac: the real core and
// windows, the real helper started by the simulated launchd from a copy of
// the built bundle in /Applications, and a stand-in for the panel that only
// counts its showings. Whatever the machine started is stopped at the end.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/core/app.h"
#include "app/core/helper_control.h"
#include "app/core/model.h"
#include "app/core/preview_runner.h"
#include "app/core/qt_run_loop.h"
#include "app/core/windows.h"
#include "app/ui/feedback/feedback_window.h"
#include "app/ui/feedback/uninstall_survey.h"
#include "app/ui/feedback/uninstall_windows.h"
#include "app/ui/panel/side_window.h"
#include "app/ui/setup/setup_view.h"
#include "app/ui/setup/setup_window.h"
#include "sim/app/app_mac.h"
#include "sim/app/process_table.h"
#include "sim_app_support.h"

namespace quillon::ui::test {

namespace fs = std::filesystem;

// How long a test waits for what must come: far beyond any machine's
// speed, so that it only keeps a broken test from hanging. What a test must
// see in passing, the simulated Mac or an injected clock holds until the
// test has seen it.
constexpr int kEventually = 60000;

inline bool spin(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return done();
}

using sim::testing::readText;
using sim::testing::writeText;

// Every entry under `dir`, links not followed: files by content (by size
// alone with `sizesOnly`, for the app bundle's large binaries), links by
// target, folders as "<dir>". Folders named in `skip` (relative to `dir`)
// are listed but not entered.
inline std::map<std::string, std::string> tree(const fs::path& dir, bool sizesOnly = false,
                                               const std::vector<std::string>& skip = {}) {
  std::map<std::string, std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    // Lexically: fs::relative would resolve a link to where it points.
    const std::string rel = it->path().lexically_relative(dir).string();
    if (it->is_symlink()) {
      out[rel] = "-> " + fs::read_symlink(it->path()).string();
    } else if (it->is_directory()) {
      out[rel] = "<dir>";
      if (std::find(skip.begin(), skip.end(), rel) != skip.end()) it.disable_recursion_pending();
    } else {
      out[rel] = sizesOnly ? std::to_string(it->file_size()) : readText(it->path());
    }
  }
  return out;
}

// The windows the core asks for, as the app's own implementation gives
// them, with the panel replaced by a count.
class E2eWindows final : public app::Windows {
 public:
  app::Model* model = nullptr;
  platform::AppSystem* sys = nullptr;
  int panelShown = 0;
  bool panelSetUp = false;

  void showSetup() override { SetupWindow::show(*model); }
  bool setupVisible() override {
    return SetupWindow::window() && SetupWindow::window()->isVisible();
  }
  void setUpPanel() override { panelSetUp = true; }
  void showPanel() override { ++panelShown; }
  void snapshotPanel(const std::string&, const std::filesystem::path&) override {}
  app::SurveyOutcome askUninstallSurvey() override { return UninstallSurvey::ask(); }
  bool confirmUninstall() override { return ui::confirmUninstall(); }
  void closeSideWindows() override { ui::closeSideWindows(); }
  void activateApp() override { sys->workspace.activateSelf(); }
  void terminateApp(int) override {}
};

class NoPreview final : public app::PreviewRunner {
 public:
  void start(const std::vector<std::string>&, Done) override {}
};

class E2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/quillon-ui-e2e-XXXXXX";
    base = mkdtemp(tmpl);
    root = base / "mac";
    home = base / "home";
    fs::create_directories(root / "fs/Applications");
    fs::create_directories(home);
    if (const char* h = getenv("HOME")) oldHome = h;
    setenv("HOME", home.c_str(), 1);
    fs::copy(QUILLON_BUNDLE_DIR, bundle(), fs::copy_options::recursive);
  }

  void TearDown() override {
    if (env) env->flags.uninstalling = true;
    for (QWidget* w : {SetupWindow::window(), FeedbackWindow::window()}) {
      if (w) w->close();
    }
    QApplication::processEvents();
    app_.reset();
    env.reset();
    mac.reset();
    SideWindow::setPanelHooks({});
    SetupView::setClock({});
    sim::shutdownMachine(root);
    EXPECT_TRUE(sim::liveProcesses(sim::SystemFolder(root)).empty());
    setenv("HOME", oldHome.c_str(), 1);
    std::error_code ec;
    fs::remove_all(base, ec);
  }

  fs::path bundle() const { return root / "fs/Applications/Quillon.app"; }

  // Starts the app as a user would: no arguments.
  void launch() {
    mac = std::make_unique<sim::AppMac>(root, sim::AppMac::Options{.bundle = bundle()});
    mac->setMainQueue([](std::function<void()> work) {
      QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
    });
    mac->setTerminateHandler([this] { terminated = true; });
    env = std::make_unique<app::Env>(app::Env{
        mac->system(), Paths::forHome(home), loop, static_cast<uint32_t>(getuid()), {}, {}});
    windows.sys = &mac->system();
    app_ = std::make_unique<app::App>(*env, windows, preview, app::CommandLine{});
    SideWindow::setPanelHooks({
        .mayReopen =
            [this] {
              return !env->flags.uninstalling && !env->flags.previewOnly &&
                     SetupWindow::isFinished(*env);
            },
        .panelFrame = {},
        .showPanel = [this] { windows.showPanel(); },
        .visibleFrame = {},
        .activateApp = [this] { mac->system().workspace.activateSelf(); },
    });
    mac->setStatusItemClickHandler([this] {
      if (SetupWindow::isFinished(*env)) {
        windows.showPanel();
      } else {
        windows.showSetup();
      }
    });
    app_->start();
    windows.model = app_->model();
  }

  // quillon-sim-control --offline, as a person at the simulated Mac.
  void offline(const std::string& request) {
    const std::string command = std::string(QUILLON_SIM_CONTROL) + " --root '" + root.string() +
                                "' --offline '" + request + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << request;
  }

  fs::path base, root, home;
  std::string oldHome;
  app::QtRunLoop loop;
  NoPreview preview;
  E2eWindows windows;
  std::unique_ptr<sim::AppMac> mac;
  std::unique_ptr<app::Env> env;
  std::unique_ptr<app::App> app_;
  bool terminated = false;
};

}  // namespace quillon::ui::test
