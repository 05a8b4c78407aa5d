#include <cstdio>
#include <memory>

#include "sim/app/app_mac.h"
#include "sim/app/launchd_state.h"
#include "sim/sim_mac.h"

namespace quillon::platform {

// Builds without macOS run the app on the simulated Mac of
// QUILLON_SIM_ROOT, reachable through its app channel. The app starts
// once the user has logged in, so the registered agents run by then.
std::unique_ptr<AppBackend> makeAppBackend() {
  auto mac = std::make_unique<sim::AppMac>(sim::Mac::defaultRoot());
  std::string error;
  if (!sim::startLoadedJobs(sim::SystemFolder(mac->root()), error))
    std::fprintf(stderr, "simulated launchd: %s\n", error.c_str());
  mac->serveChannel();
  return mac;
}

}  // namespace quillon::platform
