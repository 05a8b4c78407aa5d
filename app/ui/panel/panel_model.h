#pragma once

// The model's data in the shapes the views take: the graph's curves and
// modes, and the saved-curve slots of the shown device.

#include "app/core/vocabulary.h"
#include "app/ui/controls/preset_row.h"
#include "app/ui/graph/curves.h"

namespace quillon::app {
class Model;
}

namespace quillon::ui {

CurveMode curveMode(app::Mode m);

// The model's preview curves, by the graph's modes.
Curves graphCurves(const app::Model& model);

// The shown device's three slots, read and changed through the model.
PresetRow::Source presetSource(app::Model& model);

}  // namespace quillon::ui
