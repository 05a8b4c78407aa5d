#pragma once

// The graph's data: for each mode a list of points, x = hand speed in mm/s,
// y = pointer points per millimetre of hand movement, in rising x.

#include <QPointF>
#include <map>
#include <optional>
#include <vector>

#include "app/ui/style/theme.h"

namespace quillon::ui {

using CurvePoints = std::vector<QPointF>;
using Curves = std::map<CurveMode, CurvePoints>;

// Each curve cut to [xMin, xMax], keeping one point beyond each end (where
// the list has one) so that the lines run to the edges. A curve with no
// point at or beyond xMin becomes empty.
Curves shownCurves(const Curves& curves, double xMin, double xMax);

// The largest y among the points inside [xMin, xMax] of all curves; 1 when
// there are none; never below 0.0001.
double verticalScale(const Curves& shown, double xMin, double xMax);

// The curve's value at x, linear between points; none outside the curve.
std::optional<double> valueAt(const CurvePoints& points, double x);

// "hand speed 0–200 mm/s →", the ends written as whole numbers with the
// fraction dropped.
QString axisText(double xMin, double xMax);

}  // namespace quillon::ui
