#pragma once

#include <array>
#include <mutex>
#include <optional>
#include <span>
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
  // These two copy the list into a fixed buffer under the lock, so that they
  // do not allocate with up to kInlineScreens displays (unless the list is
  // empty and has to be read first).
  DisplayInfo displayInfo(std::optional<Point> at = std::nullopt);
  Point clampToScreens(Point p);

  static constexpr size_t kInlineScreens = 16;

 private:
  using InlineScreens = std::array<Screen, kInlineScreens>;
  // The list as currentScreens() gives it, in `buffer`, or in `overflow`
  // when it holds more displays than the buffer.
  std::span<const Screen> copyScreens(InlineScreens& buffer, std::vector<Screen>& overflow);

  platform::Displays& displays_;
  std::mutex screensLock_;
  std::vector<Screen> screens_;
};

}  // namespace quillon
