#pragma once

// The curve graph to assistive tools: a chart named by its description in
// words (curve_description.h), told again whenever the curves or the range
// change.

namespace quillon::ui {

class CurveView;

// Installs the graph's accessibility factory (once; any later call does
// nothing).
void installCurveViewAccessibility();

// The graph's curves or range changed: its name has changed.
void curveViewDescriptionChanged(CurveView* view);

}  // namespace quillon::ui
