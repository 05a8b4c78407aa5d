// VoiceOver's announcement of a changed message line. Built on a Mac only
// (app/ui/CMakeLists.txt); compile-checked elsewhere.
#include "app/ui/panel/panel_platform.h"
#include "platform/macos/app/panel_window.h"

namespace quillon::ui {

void announce(const QString& text) {
  if (!text.isEmpty()) platform::macos::MacPanelWindow::announce(text.toStdString());
}

}  // namespace quillon::ui
