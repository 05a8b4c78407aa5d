#include <cstdio>
#include <cstdlib>

#include "sim/app/app_channel.h"
#include "sim/app/plist.h"
#include "sim/app/process_table.h"
#include "sim/app/sim_app_workspace.h"
#include "sim/app/spawn.h"
#include "sim/app/tools/stand_ins.h"
#include "sim/sim_state.h"

namespace quillon::sim {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

int openUrl(const SystemFolder& folder, const std::string& url) {
  if (url.starts_with("x-apple.systempreferences:")) {
    Recorder unused(false);
    SimWorkspace apps(folder, unused);
    if (apps.runningApplications(kSystemSettingsBundle).empty())
      apps.launch(kSystemSettingsBundle, false);
  }
  return 0;
}

// As LaunchServices does it: a copy of this bundle that runs, even one that
// is quitting, is reopened and no second copy starts; otherwise the bundle's executable starts, in
// a session of its own, with no output of ours.
int openBundle(const SystemFolder& folder, const fs::path& host, const std::string& macPath) {
  std::string error;
  auto info = readPlist(host / "Contents/Info.plist", error);
  auto text = [&](const char* key) -> std::string {
    if (!info || !info->is_object() || !info->contains(key) || !(*info)[key].is_string()) return "";
    return (*info)[key].get<std::string>();
  };
  std::string id = text("CFBundleIdentifier");
  std::string exe = text("CFBundleExecutable");
  for (const SimApp& a : readApps(folder)) {
    if (!a.process || a.bundleIdentifier != id || a.path != macPath) continue;
    sendAppRequest(folder.root(), a.pid, {{"cmd", "reopen"}});
    return 0;
  }
  fs::path program = host / "Contents/MacOS" / exe;
  std::error_code ec;
  if (exe.empty() || !fs::is_regular_file(program, ec)) {
    std::fprintf(stderr, "The application cannot be opened because its executable is missing.\n");
    return 1;
  }
  // The new copy finds its bundle from its own path.
  auto env = environmentWith({{"QUILLON_SIM_BUNDLE", ""}});
  auto pid = spawnDetached(
      program.string(), {program.string()}, env, folder.file("open.log"),
      [&](pid_t p) { registerProcess(folder, p, "app " + macPath); }, error);
  if (!pid) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int openTool(const SystemFolder& folder, const MacFileSystem& files, const Args& args) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    std::fprintf(stderr, "Usage: open FILE|URL\n");
    return 1;
  }
  const std::string& target = args[0];
  if (target[0] != '/' && isValidUrl(target)) return openUrl(folder, target);
  fs::path host = files.hostPath(target);
  std::error_code ec;
  if (!fs::exists(host, ec)) {
    std::fprintf(stderr, "The file %s does not exist.\n", target.c_str());
    return 1;
  }
  if (fs::is_directory(host / "Contents", ec)) return openBundle(folder, host, files.macPath(host));
  return 0;  // a document: its application is not simulated
}

}  // namespace quillon::sim
