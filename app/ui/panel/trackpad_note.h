#pragma once

class QWidget;

namespace quillon::ui {

// The note the trackpad's page shows while no trackpad is connected: a
// symbol and a wrapped caption saying when its settings apply.
QWidget* makeTrackpadNote();

}  // namespace quillon::ui
