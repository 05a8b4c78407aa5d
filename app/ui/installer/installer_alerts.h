#pragma once

#include "app/core/installer.h"

namespace quillon::ui {

// The installer's alerts as the app's own modal alerts, in their default
// style, with the buttons in the installer's order (the first one the
// default). Main thread only.
class InstallerAlertWindows final : public app::InstallerAlerts {
 public:
  int run(const app::InstallerAlert& alert) override;
};

}  // namespace quillon::ui
