#pragma once

// The app's item in the menu bar, for its backend: an NSStatusItem on a Mac
// (app/ui/mac/), the simulated menu bar's item elsewhere.

#include <memory>

#include "app/ui/menubar/status_item.h"

namespace quillon::platform {
class AppBackend;
}

namespace quillon::ui {

std::unique_ptr<StatusItem> makeMenuBarItem(platform::AppBackend& backend);

}  // namespace quillon::ui
