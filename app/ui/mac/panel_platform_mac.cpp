// The panel's NSPanel behaviour, given to the window Qt made. Built on a
// Mac only (app/ui/CMakeLists.txt); compile-checked elsewhere.
#include "app/ui/panel/panel_platform.h"
#include "platform/macos/app/panel_window.h"

namespace quillon::ui {

void configurePanelWindow(QWidget* window, const std::function<void()>& onEscape) {
  // On a Mac, winId() is the window's NSView*.
  platform::macos::MacPanelWindow::configure(reinterpret_cast<void*>(window->winId()), onEscape);
}

}  // namespace quillon::ui
