#pragma once

// Plausible curves for looking at the graph: macOS's trackpad curve at its
// default speed, a Windows-like curve and the custom formula.

#include "app/ui/graph/curves.h"
#include "common/config.h"

namespace quillon::ui::demo {

// 401 points from 0 to full.
Curves curves(const DeviceConfig& custom, double full, bool withWindows = true);

}  // namespace quillon::ui::demo
