#include <memory>

#include "sim/app/app_mac.h"
#include "sim/sim_mac.h"

namespace quillon::platform {

// Builds without macOS run the app on the simulated Mac of
// QUILLON_SIM_ROOT, reachable through its app channel.
std::unique_ptr<AppBackend> makeAppBackend() {
  auto mac = std::make_unique<sim::AppMac>(sim::Mac::defaultRoot());
  mac->serveChannel();
  return mac;
}

}  // namespace quillon::platform
