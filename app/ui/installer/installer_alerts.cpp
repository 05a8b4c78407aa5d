#include "app/ui/installer/installer_alerts.h"

#include "app/ui/kit/alert.h"

namespace quillon::ui {

int InstallerAlertWindows::run(const app::InstallerAlert& alert) {
  AlertSpec spec;
  spec.message = QString::fromStdString(alert.message);
  spec.informativeText = QString::fromStdString(alert.informativeText);
  for (const std::string& title : alert.buttons) spec.buttons << QString::fromStdString(title);
  // No buttons: the alert's standard single "OK".
  return runAlert(spec);
}

}  // namespace quillon::ui
