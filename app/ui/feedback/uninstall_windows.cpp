#include "app/ui/feedback/uninstall_windows.h"

#include <QWidget>

#include "app/ui/feedback/feedback_window.h"
#include "app/ui/kit/alert.h"
#include "app/ui/setup/setup_window.h"

namespace quillon::ui {

bool confirmUninstall() {
  const AlertSpec spec{
      QStringLiteral("Uninstall Quillon?"),
      QString::fromUtf8("Your trackpad and mouse go back to macOS's own behaviour, Quillon's "
                        "settings and saved curves are deleted, and the app is moved to the "
                        "Trash."),
      {QStringLiteral("Uninstall"), QStringLiteral("Cancel")},
      AlertStyle::warning,
      0};
  return runAlert(spec) == 0;
}

void closeSideWindows() {
  for (QWidget* w : {SetupWindow::window(), FeedbackWindow::window()}) {
    if (w) w->close();
  }
}

}  // namespace quillon::ui
