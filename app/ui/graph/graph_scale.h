#pragma once

// The graph's vertical scale and what is read off it.
//
// The normal scale reaches the largest value shown (verticalScale in
// curves.h). The held scale is the normal scale of the moment a slider drag
// began, kept until the drag ends, so that the curve being edited is seen
// moving against the others and the grid instead of the others shrinking
// around it. The grid marks two to four round values (1, 2 or 5 × 10ⁿ
// pt/mm) under the top of the scale.

#include <QString>
#include <optional>
#include <vector>

namespace quillon::ui {

// The scale to draw with: the held scale while there is one, else the
// normal scale.
double drawnScale(double normal, std::optional<double> held);

// The distance between grid lines for a scale reaching yTop: the smallest
// 1, 2 or 5 × 10ⁿ that leaves at most four lines in (0, yTop].
double gridStep(double yTop);

// The grid lines' values, rising: every multiple of gridStep(yTop) in
// (0, yTop]. Two to four of them for any positive yTop.
std::vector<double> gridValues(double yTop);

// A grid value as its label: as many decimals as the step needs ("0.5",
// "2", "20").
QString gridLabel(double value, double step);

// Where the hover readout goes: the top of a band h high inside
// [areaTop, areaBottom] that keeps clear of every curve's mark at the
// hovered speed (the marks' y positions, each with clearance around it).
// Of those bands, the one that hides the fewest of the curves' points under
// the readout's width (curveYs: the curves sampled there), the highest on a
// tie; when no band is clear of the marks, the one farthest from them.
double readoutTop(const std::vector<double>& markYs, double h, double areaTop, double areaBottom,
                  double clearance = 3, const std::vector<double>& curveYs = {});

}  // namespace quillon::ui
