#pragma once

// A stand-in for the menu bar panel, built from the real controls on demo
// values, for looking at the controls together.

#include <QWidget>
#include <array>
#include <optional>

#include "app/ui/controls/preset_row.h"
#include "common/config.h"

namespace quillon::ui::demo {

struct DemoState {
  Device device = Device::trackpad;
  DeviceConfig cfg;
  double scrollSpeed = 1;
  double macSpeed = 0.6875;
  double dpi = 1600;
  double winDpi = 800;
  bool accel = true;
  bool scrollAccel = true;
  std::string match = "distance";
  std::array<std::optional<PresetValues>, 3> presets;
};

// The panel for the state's device and mode ("mac", "windows", "custom").
QWidget* mockPanel(DemoState& state);

}  // namespace quillon::ui::demo
