#pragma once

#include "app/core/env.h"

namespace quillon::app {

class Model;

namespace LastDevice {

// Points the model at the device that made the click that opens the panel:
// a click made on a trackpad selects the trackpad, any other mouse click
// the mouse. Anything but a mouse click (a keyboard-opened panel) leaves
// the device as it was; so does the same device, so nothing is republished.
void fromOpeningClick(Env& env, Model& model);

}  // namespace LastDevice

}  // namespace quillon::app
