#include "app/ui/controls/slider_table.h"

namespace quillon::ui {
namespace sliders {
namespace {

QString u(const char* s) {
  return QString::fromUtf8(s);
}

}  // namespace

SliderSpec scrollSpeed() {
  return {u("Scroll Speed"),
          u("How far each scroll moves. 1.00× = macOS normal."),
          u("%.2f×"),
          {0.25, 3.0},
          0.05,
          2,
          std::nullopt};
}

SliderSpec macTrackingSpeed() {
  return {u("Tracking Speed"), u("macOS's own curve."), u("%.2f"), {0, 3}, 0.0625, 2, std::nullopt};
}

SliderSpec windowsTrackingSpeed(Device d) {
  return {u("Tracking Speed"),
          u("Same scale as the Windows setting."),
          u("%.0f"),
          {1, d == Device::mouse ? 20.0 : 10.0},
          1,
          0,
          std::nullopt};
}

SliderSpec fineTune() {
  return {
      u("Fine-Tune"), u("1.00 = exactly as measured."), u("%.2f×"), {0.5, 2.0}, 0.05, std::nullopt,
      std::nullopt};
}

SliderSpec customTrackingSpeed(Device d) {
  const bool mouse = d == Device::mouse;
  return {u("Tracking Speed"), u("Points per mm of hand movement."),
          u("%.0f"),           mouse ? ValueRange{5, 150} : ValueRange{2, 25},
          mouse ? 1.0 : 0.5,   0,
          Term::speed};
}

SliderSpec acceleration() {
  return {
      u("Acceleration"), u("How strongly speed builds up. 0 = none."), u("%.2f"), {0, 2}, 0.05, 2,
      Term::accel};
}

SliderSpec shape() {
  return {u("Shape"), u("Below 1 log-like · 1 linear · above 1 exponential."),
          u("%.2f"),  {0.2, 3.0},
          0.05,       2,
          Term::shape};
}

SliderSpec threshold() {
  return {
      u("Threshold"), u("Hand speed before acceleration starts (mm/s)."), u("%.0f"), {0, 300}, 5, 0,
      Term::threshold};
}

SliderSpec maxBoost() {
  return {u("Max Boost"), u("The most speed can be multiplied by."), u("%.1f×"), {1, 10}, 0.1, 1,
          Term::boost};
}

}  // namespace sliders

namespace dpi_fields {

DpiSpec mouseDpi() {
  return {QStringLiteral("Mouse DPI"),
          QString::fromUtf8("Your mouse's DPI, from its software or box. Quillon uses it to "
                            "measure your hand movement; it doesn't change the mouse."),
          {100, 65000}};
}

DpiSpec windowsDpi() {
  return {QStringLiteral("DPI on Windows"),
          QStringLiteral("The DPI your mouse had on Windows, if different from Mouse DPI."),
          {100, 65000}};
}

}  // namespace dpi_fields
}  // namespace quillon::ui
