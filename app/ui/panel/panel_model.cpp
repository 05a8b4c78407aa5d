#include "app/ui/panel/panel_model.h"

#include "app/core/model.h"

namespace quillon::ui {

CurveMode curveMode(app::Mode m) {
  switch (m) {
    case app::Mode::windows:
      return CurveMode::windows;
    case app::Mode::custom:
      return CurveMode::custom;
    case app::Mode::mac:
      break;
  }
  return CurveMode::mac;
}

Curves graphCurves(const app::Model& model) {
  Curves out;
  for (const auto& [mode, points] : model.curves()) {
    out[curveMode(mode)] = CurvePoints(points.begin(), points.end());
  }
  return out;
}

PresetRow::Source presetSource(app::Model& model) {
  PresetRow::Source s;
  s.preset = [&model](int slot) -> std::optional<PresetValues> {
    const std::optional<app::Preset> p = model.preset(slot);
    if (!p) return std::nullopt;
    return PresetValues{p->speed, p->accel, p->shape, p->threshold, p->maxBoost};
  };
  s.cfg = [&model] { return model.cfg(); };
  s.load = [&model](int slot) { model.loadPreset(slot); };
  s.save = [&model](int slot) { model.savePreset(slot); };
  s.remove = [&model](int slot) { model.deletePreset(slot); };
  return s;
}

}  // namespace quillon::ui
