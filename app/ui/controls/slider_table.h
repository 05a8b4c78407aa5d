#pragma once

// Every slider the panel shows: title, help text, value format, range, step,
// decimals (none: the value is plain text, not editable) and tint.

#include <QString>
#include <optional>

#include "app/ui/kit/value_rules.h"
#include "app/ui/style/theme.h"
#include "common/device.h"

namespace quillon::ui {

struct SliderSpec {
  QString title;
  QString hint;
  QString format;  // printf pattern for one double
  ValueRange range;
  double step = 1;
  std::optional<int> decimals;
  std::optional<Term> tint;
};

namespace sliders {

SliderSpec scrollSpeed();
SliderSpec macTrackingSpeed();
SliderSpec windowsTrackingSpeed(Device d);
SliderSpec fineTune();
SliderSpec customTrackingSpeed(Device d);
SliderSpec acceleration();
SliderSpec shape();
SliderSpec threshold();
SliderSpec maxBoost();

}  // namespace sliders

// The panel's two DPI fields.
struct DpiSpec {
  QString title;
  QString hint;
  ValueRange range{100, 65000};
};
namespace dpi_fields {
DpiSpec mouseDpi();
DpiSpec windowsDpi();
}  // namespace dpi_fields

}  // namespace quillon::ui
