// Elsewhere than on a Mac, Qt's tool window already behaves as the panel
// should.
#include "app/ui/panel/panel_platform.h"

namespace quillon::ui {

void createPanelWindow(QWidget*) {}

void configurePanelWindow(QWidget*, const std::function<void()>&) {}

void announce(const QString&) {}

}  // namespace quillon::ui
