#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::app {

// The answer of the uninstall survey.
struct SurveyOutcome {
  enum class Kind { cancelled, skipped, answered };
  Kind kind = Kind::cancelled;
  std::vector<std::string> reasons;  // answered only
  std::string message;               // answered only: the free text
};

// What the core asks of the windows it does not own. The window code
// implements it; every call is made on the main thread.
class Windows {
 public:
  virtual ~Windows() = default;

  // The setup window: shows it (creating it the first time), or brings it
  // forward when it is already open.
  virtual void showSetup() = 0;
  // Whether the setup window exists and is visible.
  virtual bool setupVisible() = 0;

  // Creates the menu bar item and the panel (once, when launching has
  // finished).
  virtual void setUpPanel() = 0;
  virtual void showPanel() = 0;

  // Writes the panel of the current model state, in the light and the dark
  // appearance, as folder/"panel-<scene>-<appearance>.png", printing one
  // "wrote ..." line per file.
  virtual void snapshotPanel(const std::string& scene, const std::filesystem::path& folder) = 0;

  // Runs the uninstall survey alone (modal) and gives its answer.
  virtual SurveyOutcome askUninstallSurvey() = 0;
  // The uninstall's confirmation alert (modal): true only for "Uninstall".
  virtual bool confirmUninstall() = 0;
  // Closes the setup and the feedback window, where they exist.
  virtual void closeSideWindows() = 0;

  // Brings the app to the front, ignoring other apps.
  virtual void activateApp() = 0;
  // Ends the app's main loop; the process exits with `status`.
  virtual void terminateApp(int status) = 0;
};

}  // namespace quillon::app
