#include "helper/command.h"

#include <cstdio>

#include "common/paths.h"
#include "helper/background.h"
#include "helper/log_file.h"
#include "helper/preview.h"
#include "helper/screens.h"
#include "helper/state.h"

namespace quillon {

namespace {

constexpr const char* kUsage =
    "Quillon Helper - pointer curves and scroll direction for trackpad and mouse.\n"
    "Started by the Quillon app; not meant to be run by hand.\n"
    "\n"
    "  run        run in the foreground (what the background agent does)\n"
    "  preview --device trackpad|mouse --mode custom|windows\n"
    "          [--speed N --accel N | --win-speed N --scale N --match distance|share "
    "[--windows FILE]]\n"
    "          [--shape N --threshold N --max-boost N] [--dpi N] [--accel-off 1]\n"
    "             print a curve as JSON: [hand mm/s, pointer points per hand mm]\n";

int usage() {
  std::fputs(kUsage, stdout);
  std::fflush(stdout);
  return 1;
}

int run(platform::Backend& backend) {
  Paths paths = Paths::current();
  setUpLog(paths);
  backend.willRun();
  HelperState state(backend.system(), std::move(paths));
  // Nothing else runs yet, but `display` belongs to `lock`; take it anyway.
  DisplayInfo display = state.screens.displayInfo();
  state.lock.lock();
  state.shared.display = display;
  state.lock.unlock();
  return runBackground(state);
}

}  // namespace

int runCommand(const std::vector<std::string>& args, platform::Backend& backend) {
  if (args.size() < 2) return usage();
  const std::string& command = args[1];
  if (command == "run") return run(backend);
  if (command == "preview") {
    Screens screens(backend.system().displays);
    std::vector<std::string> options(args.begin() + 2, args.end());
    return runPreview(options, screens, stdout);
  }
  return usage();
}

}  // namespace quillon
