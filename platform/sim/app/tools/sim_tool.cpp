// quillon-sim-tool: the simulated Mac's system tools, one program.
//
//   quillon-sim-tool launchctl|tccutil|defaults|open|hdiutil|kill ARGS...
//
// The app's child-process runner runs it in place of "/bin/launchctl",
// "/usr/bin/tccutil", "/usr/bin/defaults", "/usr/bin/open",
// "/usr/bin/hdiutil" and "/bin/kill", also inside `sh -c` scripts. It acts
// on the machine of $QUILLON_SIM_ROOT and appends each call to
// <root>/tools.jsonl: {"tool":"hdiutil","args":["detach","/Volumes/Q","-quiet"],"pid":N}.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "sim/app/mac_fs.h"
#include "sim/app/tools/stand_ins.h"
#include "sim/sim_mac.h"

using namespace quillon::sim;

namespace {

void logCall(const SystemFolder& folder, const std::string& tool, const Args& args) {
  std::string line =
      nlohmann::json{{"tool", tool}, {"args", args}, {"pid", getpid()}}.dump() + "\n";
  int fd =
      open(folder.file("tools.jsonl").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  // One write of a short line with O_APPEND: lines of concurrent tools
  // never interleave.
  (void)!write(fd, line.data(), line.size());
  close(fd);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: quillon-sim-tool launchctl|tccutil|defaults|open|hdiutil|kill ARGS...\n");
    return 64;
  }
  std::string tool = argv[1];
  Args args(argv + 2, argv + argc);
  try {
    SystemFolder folder(Mac::defaultRoot());
    MacFileSystem files(folder);
    logCall(folder, tool, args);
    if (tool == "launchctl") return launchctlTool(folder, args);
    if (tool == "tccutil") return tccutilTool(folder, args);
    if (tool == "defaults") return defaultsTool(folder, args);
    if (tool == "open") return openTool(folder, files, args);
    if (tool == "hdiutil") return hdiutilTool(files, args);
    if (tool == "kill") return killTool(folder, args);
  } catch (const std::exception& e) {
    // A stand-in that meets something it did not expect fails as a tool
    // does (EX_SOFTWARE), never with a crash the calling script can't read.
    std::fprintf(stderr, "%s: %s\n", tool.c_str(), e.what());
    return 70;
  }
  std::fprintf(stderr, "quillon-sim-tool: no stand-in for \"%s\"\n", tool.c_str());
  return 64;
}
