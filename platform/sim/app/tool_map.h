#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/app/mac_fs.h"

namespace quillon::sim {

// The Mac's system tools that have a stand-in (quillon-sim-tool NAME):
// "/bin/launchctl", "/usr/bin/tccutil", "/usr/bin/defaults",
// "/usr/bin/open", "/usr/bin/hdiutil", "/bin/kill". Nullopt for others.
std::optional<std::string> standInName(std::string_view macPath);

// A shell script with each stand-in tool, where it stands as a command
// word, replaced by `"$QUILLON_SIM_TOOL" NAME`. No PATH lookup is
// involved, so no Linux program of the same path can run in its place.
std::string rewriteScript(const std::string& script);

// What runs on this machine for a Mac-side program and its arguments.
struct MappedCommand {
  std::string program;            // host path to exec
  std::vector<std::string> argv;  // argv[0] included
  std::string error;              // set when there is nothing to run
};
// A stand-in tool runs as quillon-sim-tool; "/bin/sh" as the real sh with
// its -c script rewritten; another program of the Mac's system folders
// (/bin, /usr/bin, /sbin, /usr/sbin, /System) does not exist on the
// simulated Mac; any other path runs from its host path.
MappedCommand mapCommand(const std::string& macPath, const std::vector<std::string>& args,
                         const MacFileSystem& files, const std::string& toolPath);

}  // namespace quillon::sim
