#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "quillon/platform/displays.h"

namespace quillon {

using platform::Point;
using platform::Rect;

struct Screen {
  Rect bounds;
  double ptsPerMM = 5;  // width in points / physical width in mm; 5 when unknown
  bool builtIn = false;
};

// What a curve needs of the display under the pointer. The defaults are the
// fallback when there is no display at all.
struct DisplayInfo {
  double ptsPerMM = 5;
  double widthPts = 1470;
  Rect bounds;
};

// The helper's display list. `screensLock` guards `screens` only; nothing
// here computes while holding it, and the helper's `lock` is never taken
// while it is held.
class Screens {
 public:
  explicit Screens(platform::Displays& displays) : displays_(displays) {}

  void refreshScreens();
  // The list, rebuilt first if it is empty.
  std::vector<Screen> currentScreens();
  DisplayInfo displayInfo(std::optional<Point> at = std::nullopt);
  Point clampToScreens(Point p);

 private:
  platform::Displays& displays_;
  std::mutex screensLock_;
  std::vector<Screen> screens_;
};

}  // namespace quillon
