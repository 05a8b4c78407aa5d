#include <memory>

#include "sim/sim_mac.h"

namespace quillon::platform {

// Builds without macOS use the simulated Mac of QUILLON_SIM_ROOT.
std::unique_ptr<Backend> makeBackend() {
  return std::make_unique<sim::Mac>(sim::Mac::defaultRoot());
}

}  // namespace quillon::platform
