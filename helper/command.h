#pragma once

#include <string>
#include <vector>

#include "quillon/platform/system.h"

namespace quillon {

// The helper's command line: args[0] is the program path, args[1] the
// command word ("run" or "preview"), then its options. Returns the exit
// status; `run` returns only when the process ends itself.
int runCommand(const std::vector<std::string>& args, platform::Backend& backend);

}  // namespace quillon
