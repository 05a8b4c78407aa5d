#pragma once

#include "app/core/windows.h"

namespace quillon::app {

// The app without windows: the setup window, the panel and the snapshot are
// not shown, the survey counts as cancelled, and terminating ends Qt's main
// loop. For runs without the windows code (and until it exists).
class NoWindows final : public Windows {
 public:
  void showSetup() override {}
  bool setupVisible() override { return false; }
  void setUpPanel() override {}
  void showPanel() override {}
  void snapshotPanel(const std::string&, const std::filesystem::path&) override {}
  SurveyOutcome askUninstallSurvey() override { return {}; }
  bool confirmUninstall() override { return false; }
  void closeSideWindows() override {}
  void activateApp() override {}
  void terminateApp(int status) override;
};

}  // namespace quillon::app
