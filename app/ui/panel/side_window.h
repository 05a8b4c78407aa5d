#pragma once

// The app's other windows (setup, feedback) stand beside the menu bar panel.
// SideWindow makes and places them, and brings the panel back 0.3 s after the
// last of them closes. Main thread only.

#include <QRectF>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

namespace quillon::ui::SideWindow {

// Their order in openWindows(): the setup window, then the feedback window.
enum class Role { setup = 0, feedback = 1 };

// While set, closing a side window does not reopen the panel.
inline bool skipReopen = false;

// A floating window `width` points wide, titled and closable only (no
// minimise, no maximise, no resizing: its height is its content's). Not
// deleted when closed; the caller adds its content to the window's layout
// and keeps it.
QWidget* make(const QString& title, int width, Role role);

// Lays the window out and places it: centred (8 % of the visible height
// above the middle), or to the left of the open panel. Then brings it to the
// front, activating the app.
void present(QWidget* window, bool centered);

// The side windows that exist and are visible, setup first.
std::vector<QWidget*> openWindows();

// What the reopen check needs of the panel, set once by the panel.
struct PanelHooks {
  std::function<bool()> mayReopen;  // setup done, not uninstalling, not preview-only
  std::function<std::optional<QRectF>()> panelFrame;  // when the panel is open
  std::function<void()> showPanel;
  std::function<QRectF()> visibleFrame;  // of the main screen, Qt's space
  std::function<void()> activateApp;
};
void setPanelHooks(PanelHooks hooks);

}  // namespace quillon::ui::SideWindow
