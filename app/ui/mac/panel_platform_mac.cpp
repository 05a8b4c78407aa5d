// The panel's NSPanel behaviour, given to the window Qt made. Built on a
// Mac only (app/ui/CMakeLists.txt); compile-checked elsewhere.
#include "app/ui/panel/panel_platform.h"
#include "platform/macos/app/panel_window.h"

namespace quillon::ui {

void createPanelWindow(QWidget* window) {
  const bool made =
      platform::macos::MacPanelWindow::createNonactivating([window] { window->winId(); });
  if (!made) {
    qWarning(
        "The panel's window was not made as a non-activating panel: a click in it may "
        "bring Quillon to the front.");
  }
}

void configurePanelWindow(QWidget* window, const std::function<void()>& onEscape) {
  // On a Mac, winId() is the window's NSView*.
  platform::macos::MacPanelWindow::configure(reinterpret_cast<void*>(window->winId()), onEscape);
}

}  // namespace quillon::ui
