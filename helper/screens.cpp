#include "helper/screens.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// Keeps a point 0.01 pt inside the right and bottom edges, which are
// outside a display. Written with min then max rather than std::clamp so that
// a display narrower than 0.01 pt still gives its left or top edge.
double clampInto(double v, double min, double max) {
  return std::max(min, std::min(v, max - 0.01));
}

}  // namespace

void Screens::refreshScreens() {
  // Ask the system and build the list with no lock held; only the swap is
  // done under it, and the old list is freed after the lock is released.
  std::vector<Screen> fresh;
  for (const platform::DisplayDescription& d : displays_.activeDisplays()) {
    Screen s;
    s.bounds = d.bounds;
    s.ptsPerMM = d.widthMM > 0 ? d.bounds.width / d.widthMM : 5;
    s.builtIn = d.builtIn;
    fresh.push_back(s);
  }
  std::lock_guard guard(screensLock_);
  screens_.swap(fresh);
}

std::vector<Screen> Screens::currentScreens() {
  {
    std::lock_guard guard(screensLock_);
    if (!screens_.empty()) return screens_;
  }
  refreshScreens();
  std::lock_guard guard(screensLock_);
  return screens_;
}

std::span<const Screen> Screens::copyScreens(InlineScreens& buffer, std::vector<Screen>& overflow) {
  for (bool refreshed = false;; refreshed = true) {
    {
      std::lock_guard guard(screensLock_);
      if (screens_.size() > buffer.size()) {
        overflow = screens_;
        return overflow;
      }
      if (!screens_.empty() || refreshed) {
        std::copy(screens_.begin(), screens_.end(), buffer.begin());
        return {buffer.data(), screens_.size()};
      }
    }
    refreshScreens();
  }
}

DisplayInfo Screens::displayInfo(std::optional<Point> at) {
  InlineScreens buffer;
  std::vector<Screen> overflow;
  std::span<const Screen> list = copyScreens(buffer, overflow);
  if (list.empty()) return DisplayInfo{};

  const Screen* chosen = nullptr;
  if (at) {
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const Screen& s) { return s.bounds.contains(*at); });
    if (it != list.end()) chosen = &*it;
  }
  if (chosen == nullptr) {
    auto it = std::find_if(list.begin(), list.end(), [](const Screen& s) { return s.builtIn; });
    chosen = it != list.end() ? &*it : &list.front();
  }
  return DisplayInfo{chosen->ptsPerMM, chosen->bounds.width, chosen->bounds};
}

Point Screens::clampToScreens(Point p) {
  InlineScreens buffer;
  std::vector<Screen> overflow;
  std::span<const Screen> list = copyScreens(buffer, overflow);
  if (list.empty()) return p;
  if (std::any_of(list.begin(), list.end(),
                  [&](const Screen& s) { return s.bounds.contains(p); })) {
    return p;
  }
  // The first screen is taken as the starting best, not an infinite
  // distance: a NaN point (whose distances are all NaN) then still lands on
  // a display instead of staying NaN.
  Point best;
  double bestDistance = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    const Rect& b = list[i].bounds;
    Point q{clampInto(p.x, b.minX(), b.maxX()), clampInto(p.y, b.minY(), b.maxY())};
    double distance = std::hypot(q.x - p.x, q.y - p.y);
    if (i == 0 || distance < bestDistance) {
      best = q;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace quillon
