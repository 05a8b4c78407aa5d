#pragma once

// What the uninstall asks of the windows: the confirmation, and closing the
// side windows once it has begun. The app's Windows implementation calls
// these (Windows::confirmUninstall, Windows::closeSideWindows), and
// UninstallSurvey::ask for Windows::askUninstallSurvey.

namespace quillon::ui {

// "Uninstall Quillon?": true only for its first button, "Uninstall".
bool confirmUninstall();
// Closes the setup window and the feedback window, where they exist.
void closeSideWindows();

}  // namespace quillon::ui
