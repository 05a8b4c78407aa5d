#pragma once

// The app core's windows, as this UI makes them: the menu bar item and
// panel, the panel's screenshots, the setup window, the feedback window and
// the uninstall's confirmation and survey.

#include <QTimer>
#include <functional>
#include <memory>

#include "app/core/windows.h"
#include "app/ui/menubar/status_item.h"

namespace quillon::app {
class App;
struct Env;
class Model;
}  // namespace quillon::app

namespace quillon::platform {
class AppBackend;
}

namespace quillon::ui {

class MenuBarPanel;

class AppWindows final : public app::Windows {
 public:
  using ItemFactory = std::function<std::unique_ptr<StatusItem>()>;

  // makeItem: the platform's menu bar item (menu_bar_item.h).
  explicit AppWindows(ItemFactory makeItem);
  ~AppWindows() override;

  // Before app.start(): the windows reach the model through the app.
  void attach(app::Env& env, app::App& app);
  // Before the app goes: the panel and the other windows close for good.
  void detach();

  void showSetup() override;
  bool setupVisible() override;
  void setUpPanel() override;
  void showPanel() override;
  void snapshotPanel(const std::string& scene, const std::filesystem::path& folder) override;
  app::SurveyOutcome askUninstallSurvey() override;
  bool confirmUninstall() override;
  void closeSideWindows() override;
  void activateApp() override;
  void terminateApp(int status) override;

  // The system's appearance, applied when it changed.
  void followAppearance();

  MenuBarPanel* panel() const { return panel_.get(); }

 private:
  ItemFactory makeItem_;
  app::Env* env_ = nullptr;
  app::App* app_ = nullptr;
  std::unique_ptr<MenuBarPanel> panel_;
  QTimer appearancePoll_;
};

}  // namespace quillon::ui
