#pragma once

#include <filesystem>

namespace quillon::sim {

// The simulated launchd of one system folder (quillon-sim-launchd): runs
// the loaded jobs of launchd.json as its children, each in a process group
// of its own; starts a job when it is loaded or kickstarted, restarts a
// keep-alive job that exits (at most once per throttle interval, counted
// from its last start), and stops a job that is unloaded or whose service
// is forced off (SIGTERM, SIGKILL 5 s later). Only one runs per folder
// (launchd.lock). It ends when no job is loaded and none runs, when its
// folder disappears, or on SIGTERM/SIGINT, stopping its jobs first.
// Returns the process's exit status.
int runLaunchdSupervisor(const std::filesystem::path& root);

}  // namespace quillon::sim
