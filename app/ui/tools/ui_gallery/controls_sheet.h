#pragma once

#include <QWidget>

namespace quillon::ui::demo {

// Each control in its states: symbols, switches, segmented controls,
// buttons, stepper, the graph with its hover readout.
QWidget* controlsSheet();

}  // namespace quillon::ui::demo
