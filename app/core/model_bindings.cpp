// The value bindings that the panel's controls read and write. A setter
// that brings an optional field back to its default removes the field, so
// that config.json only holds what the user changed.
#include <cmath>

#include "app/core/defaults.h"
#include "app/core/model.h"

namespace quillon::app {

// The controls live inside the panel, which the model outlives: capturing
// `this` is safe.

Binding<double> Model::dpiBinding() {
  return {[this] { return config_.mouse.dpi.value_or(kDefaultMouseDPI); },
          [this](double v) {
            config_.mouse.dpi = v;
            changed();
          }};
}

Binding<double> Model::winDpiBinding() {
  return {[this] {
            return config_.mouse.winDpi.value_or(config_.mouse.dpi.value_or(kDefaultMouseDPI));
          },
          [this](double v) {
            const double dpi = config_.mouse.dpi.value_or(kDefaultMouseDPI);
            if (std::abs(v - dpi) <= 0.5) {
              config_.mouse.winDpi.reset();
            } else {
              config_.mouse.winDpi = v;
            }
            changed();
          }};
}

Binding<std::string> Model::matchBinding() {
  return {[this] { return cfg().match.value_or("distance"); },
          [this](std::string v) {
            if (v == "distance") {
              cfg().match.reset();
            } else {
              cfg().match = std::move(v);
            }
            changed();
          }};
}

Binding<double> Model::binding(double DeviceConfig::*field) {
  return {[this, field] { return cfg().*field; },
          [this, field](double v) {
            cfg().*field = v;
            changed();
          }};
}

Binding<double> Model::shapeBinding() {
  return {[this] { return cfg().shape.value_or(1.0); },
          [this](double v) {
            cfg().shape = v;
            changed();
          }};
}

Binding<double> Model::thresholdBinding() {
  return {[this] { return cfg().threshold.value_or(0.0); },
          [this](double v) {
            cfg().threshold = v;
            changed();
          }};
}

Binding<double> Model::maxBoostBinding() {
  return {[this] { return cfg().maxBoost.value_or(Defaults::maxBoost); },
          [this](double v) {
            cfg().maxBoost = v;
            changed();
          }};
}

Binding<double> Model::scrollSpeedBinding() {
  return {[this] { return cfg().scrollSpeed.value_or(1.0); },
          [this](double v) {
            if (std::abs(v - 1.0) <= 0.001) {
              cfg().scrollSpeed.reset();
            } else {
              cfg().scrollSpeed = v;
            }
            changed();
          }};
}

Binding<bool> Model::scrollAccelBinding() {
  return {[this] { return !cfg().scrollAccelOff.value_or(false); },
          [this](bool on) {
            if (on) {
              cfg().scrollAccelOff.reset();
            } else {
              cfg().scrollAccelOff = true;
            }
            changed();
          }};
}

Binding<bool> Model::naturalBinding() {
  return {[this] { return cfg().natural; },
          [this](bool v) {
            cfg().natural = v;
            changed();
          }};
}

Binding<double> Model::macSpeedBinding() {
  return {[this] { return macSpeedOf(device_); },
          [this](double v) {
            setMacSpeed(device_, v);
            changed();
          }};
}

Binding<bool> Model::accelBinding() {
  return {[this] {
            if (mode() == Mode::mac) return device_ == Device::mouse ? mouseMacAccel_ : true;
            return !cfg().accelOff.value_or(false);
          },
          [this](bool on) {
            if (on) {
              cfg().accelOff.reset();
            } else {
              cfg().accelOff = true;
            }
            // The mouse page's switch is also macOS's own, whatever the mode.
            if (device_ == Device::mouse) setMouseMacAccel(on);
            changed();
          }};
}

Binding<bool> Model::mouseAccelBinding() {
  return {[this] { return mouseMacAccel_; },
          [this](bool on) {
            setMouseMacAccel(on);
            changed();
          }};
}

}  // namespace quillon::app
