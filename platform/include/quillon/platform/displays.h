#pragma once

#include <functional>
#include <vector>

#include "quillon/platform/geometry.h"

namespace quillon::platform {

// One active display as the system reports it.
struct DisplayDescription {
  Rect bounds;         // points, global coordinates
  double widthMM = 0;  // physical size; 0 when unknown
  double heightMM = 0;
  bool builtIn = false;
};

// CGGetActiveDisplayList, CGDisplayBounds, CGDisplayScreenSize,
// CGDisplayIsBuiltin and CGDisplayRegisterReconfigurationCallback.
class Displays {
 public:
  virtual ~Displays() = default;
  // The active displays in the system's order.
  virtual std::vector<DisplayDescription> activeDisplays() = 0;
  // Called on the main run loop; `beginning` is true for the call that
  // announces the start of a reconfiguration.
  using ReconfigurationCallback = std::function<void(bool beginning)>;
  virtual void setReconfigurationCallback(ReconfigurationCallback callback) = 0;
};

}  // namespace quillon::platform
