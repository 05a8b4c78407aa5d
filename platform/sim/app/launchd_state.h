#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/sim_folder.h"

namespace quillon::sim {

// A launchd job, as registering its property list loaded it.
struct AgentJob {
  std::string label;
  std::string plistName;  // for SMAppService agents; empty for plain launchctl bootstrap
  std::string program;    // host path of the executable
  std::vector<std::string> arguments;  // argv, argv[0] included
  bool keepAlive = false;
  bool runAtLoad = false;
  double throttleInterval = 10;                    // launchd's default, seconds
  std::map<std::string, std::string> environment;  // HOME, QUILLON_SIM_ROOT
  // Changed by every load and by `launchctl kickstart`: the supervisor
  // starts a job at once (throttle or not) when its generation is new, and
  // first stops a running instance of an older one.
  int64_t generation = 0;
};

// launchd.json: the loaded jobs, the app's login items and the statuses a
// test forces ({"forced":{"com.quillon.helper.plist":2}}; "mainApp" for
// the login item).
struct LaunchdState {
  std::map<std::string, AgentJob> agents;  // by label
  std::set<std::string> loginItems;        // bundle identifiers
  std::map<std::string, int> forced;
};

constexpr std::string_view kLaunchdFile = "launchd.json";
// Written by the supervisor: {"pid":N,"jobs":{"label":{"pid":N,"starts":N,
// "lastExit":N}}}; "pid" 0 while the job is not running.
constexpr std::string_view kLaunchdStatusFile = "launchd-status.json";
constexpr std::string_view kLaunchdLock = "launchd.lock";

// A generation no earlier load or kickstart has used.
int64_t newJobGeneration();

LaunchdState readLaunchd(const SystemFolder& folder);
nlohmann::json launchdJson(const LaunchdState& state);
// Changes launchd.json under the folder lock.
void updateLaunchd(const SystemFolder& folder, const std::function<void(LaunchdState&)>& change);

// A job from a launchd property list. `bundle` (a host path) resolves a
// BundleProgram; without one, Program or ProgramArguments[0] is the
// program. Nullopt with the reason when the list lacks what launchd needs.
std::optional<AgentJob> jobFromPlist(const nlohmann::json& plist,
                                     const std::filesystem::path& bundle, std::string& error);

struct JobStatus {
  pid_t pid = 0;
  int starts = 0;
  std::optional<int> lastExit;
};
// What the supervisor last wrote; nothing when no supervisor has run.
std::map<std::string, JobStatus> readJobStatus(const SystemFolder& folder);
// The supervisor's pid, 0 when none runs for this folder.
pid_t supervisorPid(const SystemFolder& folder);
// The supervisor's hold on launchd.lock (open-file-description locks), which
// supervisorPid() only looks at, never takes: false when another holds it.
bool takeLaunchdLock(int fd);
void releaseLaunchdLock(int fd);

// Starts the supervisor for the folder unless one runs already. The path
// of quillon-sim-launchd comes from $QUILLON_SIM_LAUNCHD, else the build.
bool ensureSupervisor(const SystemFolder& folder, std::string& error);
// What logging in does on a Mac: the jobs that stay loaded (a registered
// agent) run again. Starts the supervisor when a job is loaded and none
// runs, as after `quillon-sim-control --shutdown`.
bool startLoadedJobs(const SystemFolder& folder, std::string& error);
std::string simLaunchdPath();
std::string simToolPath();  // quillon-sim-tool: $QUILLON_SIM_TOOL, else the build's

}  // namespace quillon::sim
