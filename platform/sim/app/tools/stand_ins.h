#pragma once

#include <string>
#include <vector>

#include "sim/app/mac_fs.h"
#include "sim/sim_folder.h"

namespace quillon::sim {

// One stand-in for a Mac system tool, acting on the machine in `folder`.
// Returns the exit status; messages go to stdout/stderr as the tool's own.
using Args = std::vector<std::string>;
int launchctlTool(const SystemFolder& folder, const Args& args);
int tccutilTool(const SystemFolder& folder, const Args& args);
int defaultsTool(const SystemFolder& folder, const Args& args);
int openTool(const SystemFolder& folder, const MacFileSystem& files, const Args& args);
int hdiutilTool(const MacFileSystem& files, const Args& args);
int killTool(const SystemFolder& folder, const Args& args);

}  // namespace quillon::sim
