#include "app/ui/app_windows.h"

#include <QCoreApplication>
#include <QVBoxLayout>
#include <iostream>

#include "app/core/app.h"
#include "app/core/model.h"
#include "app/ui/fonts.h"
#include "app/ui/menu_bar_panel.h"
#include "app/ui/panel_snapshot.h"
#include "app/ui/side_window.h"
#include "app/ui/theme.h"
#include "app/ui/themed_label.h"

namespace quillon::ui {
namespace {

// How often the system's appearance is read while the app runs; every
// opening of the panel reads it too.
constexpr int kAppearancePollMs = 2000;
constexpr int kStandInWidth = 320;
constexpr int kStandInMargin = 20;

}  // namespace

AppWindows::AppWindows(ItemFactory makeItem) : makeItem_(std::move(makeItem)) {
  appearancePoll_.setInterval(kAppearancePollMs);
  QObject::connect(&appearancePoll_, &QTimer::timeout, [this] { followAppearance(); });
}

AppWindows::~AppWindows() {
  delete standIn_;
}

void AppWindows::attach(app::Env& env, app::App& app) {
  env_ = &env;
  app_ = &app;
  followAppearance();
}

void AppWindows::detach() {
  appearancePoll_.stop();
  panel_.reset();
  delete standIn_;
  env_ = nullptr;
  app_ = nullptr;
}

void AppWindows::followAppearance() {
  if (!env_) return;
  const bool dark = env_->sys.appearance.isDark();
  if (dark != Appearance::instance().isDark()) Appearance::instance().setDark(dark);
}

void AppWindows::showStandIn(const QString& title, const QString& text) {
  delete standIn_;
  const auto role =
      title == QStringLiteral("Setup") ? SideWindow::Role::setup : SideWindow::Role::feedback;
  QWidget* window = SideWindow::make(title, kStandInWidth, role);
  auto* col = new QVBoxLayout(window);
  col->setContentsMargins(kStandInMargin, kStandInMargin, kStandInMargin, kStandInMargin);
  auto* label = new ThemedLabel(text, fonts::body(), TextRole::primary);
  label->setWordWrap(true);
  col->addWidget(label);
  standIn_ = window;
  SideWindow::present(window, true);
}

void AppWindows::showSetup() {
  if (standIn_ && standIn_->windowTitle() == QStringLiteral("Setup")) {
    SideWindow::present(standIn_, true);
    return;
  }
  showStandIn(QStringLiteral("Setup"),
              QStringLiteral("The setup window is not part of this build yet."));
}

bool AppWindows::setupVisible() {
  return standIn_ && standIn_->isVisible() && standIn_->windowTitle() == QStringLiteral("Setup");
}

void AppWindows::setUpPanel() {
  if (panel_ || !env_ || !app_ || !app_->model()) return;
  followAppearance();
  MenuBarPanel::Hooks hooks;
  hooks.actions.showSetup = [this] { showSetup(); };
  hooks.actions.showFeedback = [this] {
    showStandIn(QStringLiteral("Send Feedback"),
                QStringLiteral("Sending feedback is not part of this build yet."));
  };
  hooks.actions.uninstall = [this] {
    showStandIn(QStringLiteral("Uninstall Quillon"),
                QStringLiteral("Uninstalling is not part of this build yet."));
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
  std::cerr << "The uninstall survey is not part of this build yet.\n";
  return {};
}

void AppWindows::activateApp() {
  if (env_) env_->sys.workspace.activateSelf();
}

void AppWindows::terminateApp(int status) {
  QCoreApplication::exit(status);
}

}  // namespace quillon::ui
