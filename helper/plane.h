#pragma once

#include <cmath>

namespace quillon {

// Length of (x, y). std::hypot guards against overflow at a cost that
// dominates a motion event; the plain formula is exact enough and only
// overflows far beyond any step, count or distance, where hypot takes over.
inline double planeLength(double x, double y) {
  constexpr double kSafe = 1e150;  // squares stay finite below this
  if (std::abs(x) < kSafe && std::abs(y) < kSafe) return std::sqrt(x * x + y * y);
  return std::hypot(x, y);
}

}  // namespace quillon
