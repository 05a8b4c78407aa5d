#include "app/ui/app_windows.h"

#include <QCoreApplication>
#include <QWidget>
#include <iostream>

#include "app/core/app.h"
#include "app/core/model.h"
#include "app/ui/feedback/feedback_window.h"
#include "app/ui/feedback/uninstall_survey.h"
#include "app/ui/feedback/uninstall_windows.h"
#include "app/ui/panel/menu_bar_panel.h"
#include "app/ui/panel/panel_snapshot.h"
#include "app/ui/setup/setup_window.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

// How often the system's appearance is read while the app runs; every
// opening of the panel reads it too.
constexpr int kAppearancePollMs = 2000;

}  // namespace

AppWindows::AppWindows(ItemFactory makeItem) : makeItem_(std::move(makeItem)) {
  appearancePoll_.setInterval(kAppearancePollMs);
  QObject::connect(&appearancePoll_, &QTimer::timeout, [this] { followAppearance(); });
}

AppWindows::~AppWindows() = default;

void AppWindows::attach(app::Env& env, app::App& app) {
  env_ = &env;
  app_ = &app;
  followAppearance();
}

void AppWindows::detach() {
  appearancePoll_.stop();
  panel_.reset();
  // The side windows are made once and kept; they go with the panel, before
  // the model they were shown for.
  for (QWidget* w : {SetupWindow::window(), FeedbackWindow::window()}) delete w;
  env_ = nullptr;
  app_ = nullptr;
}

void AppWindows::followAppearance() {
  if (!env_) return;
  const bool dark = env_->sys.appearance.isDark();
  if (dark != Appearance::instance().isDark()) Appearance::instance().setDark(dark);
}

void AppWindows::showSetup() {
  if (app_ && app_->model()) SetupWindow::show(*app_->model());
}

bool AppWindows::setupVisible() {
  const QWidget* w = SetupWindow::window();
  return w && w->isVisible();
}

void AppWindows::setUpPanel() {
  if (panel_ || !env_ || !app_ || !app_->model()) return;
  followAppearance();
  MenuBarPanel::Hooks hooks;
  hooks.actions.showSetup = [this] { showSetup(); };
  hooks.actions.showFeedback = [env = env_] { FeedbackWindow::show(*env); };
  // The confirmation is modal: the panel gets out of its way first.
  hooks.actions.uninstall = [this, model = app_->model()] {
    if (panel_) panel_->close();
    model->uninstall();
  };
  hooks.actions.quit = [env = env_] { env->sys.workspace.terminateSelf(); };
  hooks.activateApp = [this] { activateApp(); };
  hooks.followAppearance = [this] { followAppearance(); };
  panel_ = std::make_unique<MenuBarPanel>(*env_, *app_->model(), std::move(hooks));
  panel_->setUp(makeItem_());
  appearancePoll_.start();
}

void AppWindows::showPanel() {
  if (panel_) panel_->show();
}

void AppWindows::snapshotPanel(const std::string& scene, const std::filesystem::path& folder) {
  if (!app_ || !app_->model()) return;
  ui::snapshotPanel(*app_->model(), scene, folder, std::cout, std::cerr);
}

app::SurveyOutcome AppWindows::askUninstallSurvey() {
  return UninstallSurvey::ask();
}

bool AppWindows::confirmUninstall() {
  return ui::confirmUninstall();
}

void AppWindows::closeSideWindows() {
  ui::closeSideWindows();
}

void AppWindows::activateApp() {
  if (env_) env_->sys.workspace.activateSelf();
}

void AppWindows::terminateApp(int status) {
  QCoreApplication::exit(status);
}

}  // namespace quillon::ui
