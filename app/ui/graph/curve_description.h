#pragma once

// The curve graph in words, for those who cannot see it: the current curve
// first, then each other shown curve, each with its value at the visible
// range's two ends and its middle, e.g. "Custom, current: 10 pt/mm at
// 0 mm/s, 16 at 100, 28 at 200. Windows: 8.4 pt/mm at 0 mm/s, …".

#include <QString>

#include "app/ui/graph/curves.h"

namespace quillon::ui {

QString describeCurves(const Curves& curves, CurveMode current, double xMin, double xMax);

}  // namespace quillon::ui
