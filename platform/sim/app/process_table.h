#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sim/sim_folder.h"

namespace quillon::sim {

// processes.json: every process that the simulated Mac started and that
// may outlive whoever started it (the launchd supervisor, agents, detached
// scripts, apps opened with `open`), with its start time so that a later
// process that reuses a pid is never taken for it. An entry whose pid is 0
// or below names no process (kill would read it as a group, or everyone)
// and is ignored.
struct SimProcess {
  pid_t pid = 0;
  uint64_t start = 0;
  std::string what;  // "launchd", "agent com.quillon.helper", "detached /bin/sh", ...
};

void registerProcess(const SystemFolder& folder, pid_t pid, const std::string& what);
void unregisterProcess(const SystemFolder& folder, pid_t pid);
// The registered processes of which something still runs: the process,
// or, once it has ended, the members of the process group it led.
std::vector<SimProcess> liveProcesses(const SystemFolder& folder);

// Stops the live registered processes that `which` picks, as below.
int stopProcesses(const SystemFolder& folder, const std::function<bool(const SimProcess&)>& which,
                  double graceSeconds);

// Stops everything the simulated Mac of `root` started: SIGTERM to each
// live process's group (or the process alone when it leads none), SIGKILL
// to what is left after `graceSeconds`, again until nothing registered
// runs. Returns how many processes were stopped. Tests call it in TearDown;
// `quillon-sim-control --shutdown` calls it for a person.
int shutdownMachine(const std::filesystem::path& root, double graceSeconds = 3.0);

}  // namespace quillon::sim
