#pragma once

#include "common/device.h"

namespace quillon::app {

// The app-wide starting values.
namespace Defaults {

// macOS's own pointer speed setting (0 to 3) after a reset.
inline constexpr double macSpeed = 0.6875;
// The custom formula's boost cap when none is set.
inline constexpr double maxBoost = 3.0;

struct CustomStart {
  double speed;  // pointer points per hand millimetre
  double accel;
};
constexpr CustomStart custom(Device d) {
  return d == Device::mouse ? CustomStart{30.0, 0.8} : CustomStart{10.0, 0.6};
}

// The Windows pointer speed setting (winSpeed) after a reset.
constexpr double windows(Device d) {
  return d == Device::mouse ? 10.0 : 5.0;
}

}  // namespace Defaults

// The system's named colours that the windows use. The core names them; the
// windows turn them into the platform's colours (light and dark variants).
enum class NamedColor { gray, cyan, orange, green, purple, pink, teal };

constexpr const char* colorName(NamedColor c) {
  switch (c) {
    case NamedColor::gray:
      return "gray";
    case NamedColor::cyan:
      return "cyan";
    case NamedColor::orange:
      return "orange";
    case NamedColor::green:
      return "green";
    case NamedColor::purple:
      return "purple";
    case NamedColor::pink:
      return "pink";
    case NamedColor::teal:
      return "teal";
  }
  return "gray";
}

// The colour that marks each term of the custom formula wherever it appears:
// the formula text, its slider and its help.
namespace Term {
inline constexpr NamedColor speed = NamedColor::orange;
inline constexpr NamedColor accel = NamedColor::green;
inline constexpr NamedColor shape = NamedColor::purple;
inline constexpr NamedColor threshold = NamedColor::pink;
inline constexpr NamedColor boost = NamedColor::teal;
}  // namespace Term

}  // namespace quillon::app
