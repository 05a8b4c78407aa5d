#include "helper/command.h"

#include <cstdio>
#include <mutex>

#include "common/paths.h"
#include "helper/background.h"
#include "helper/log_file.h"
#include "helper/preview.h"
#include "helper/screens.h"
#include "helper/state.h"
#include "helper/usage.h"

namespace quillon {

namespace {

int usage() {
  std::fputs(usageText(), stdout);
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
  {
    std::lock_guard guard(state.lock);
    state.shared.display = display;
  }
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
