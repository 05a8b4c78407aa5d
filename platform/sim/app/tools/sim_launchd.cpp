// quillon-sim-launchd: the simulated Mac's launchd, one per system folder.
//
//   quillon-sim-launchd --root DIR
//
// Started by whoever loads a job (registering the agent, launchctl
// bootstrap or kickstart); ends by itself when no job is loaded and none
// runs. See launchd_supervisor.h.
#include <cstdio>
#include <cstring>

#include "sim/app/launchd_supervisor.h"
#include "sim/sim_mac.h"

int main(int argc, char** argv) {
  std::filesystem::path root = quillon::sim::Mac::defaultRoot();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc) {
      root = argv[++i];
    } else {
      std::fprintf(stderr, "usage: quillon-sim-launchd [--root DIR]\n");
      return 64;
    }
  }
  return quillon::sim::runLaunchdSupervisor(root);
}
