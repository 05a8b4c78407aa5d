#include "sim/app/sim_processes.h"

#include <QUtf8StringView>

#include "sim/app/launchd_state.h"
#include "sim/app/process_table.h"
#include "sim/app/spawn.h"
#include "sim/app/tool_map.h"

namespace quillon::sim {

using nlohmann::json;

std::string validUtf8OrEmpty(std::string text) {
  return QUtf8StringView(text).isValidUtf8() ? std::move(text) : std::string();
}

std::vector<std::string> SimProcesses::environment() const {
  return environmentWith(
      {{"QUILLON_SIM_ROOT", folder_.root().string()}, {"QUILLON_SIM_TOOL", simToolPath()}});
}

platform::ProcessResult SimProcesses::run(const std::string& path,
                                          const std::vector<std::string>& args) {
  recorder_.add("run", {{"path", path}, {"args", args}});
  MappedCommand cmd = mapCommand(path, args, files_, simToolPath());
  if (!cmd.error.empty()) return {-1, cmd.error};
  CapturedRun r = runCaptured(cmd.program, cmd.argv, environment());
  if (!r.startError.empty()) return {-1, r.startError};
  return {r.status, validUtf8OrEmpty(std::move(r.output))};
}

platform::OsResult SimProcesses::startDetached(const std::string& path,
                                               const std::vector<std::string>& args) {
  recorder_.add("startDetached", {{"path", path}, {"args", args}});
  MappedCommand cmd = mapCommand(path, args, files_, simToolPath());
  if (!cmd.error.empty()) return platform::OsError{cmd.error};
  std::string error;
  auto pid = spawnDetached(
      cmd.program, cmd.argv, environment(), {},
      [&](pid_t p) { registerProcess(folder_, p, "detached " + path); }, error);
  if (!pid) return platform::OsError{error};
  return std::nullopt;
}

}  // namespace quillon::sim
