#pragma once

#include <set>
#include <string>
#include <string_view>

#include "sim/sim_folder.h"

namespace quillon::sim {

// Holds on the simulated launchd, for a test that must see what a person
// sees before a job runs (the setup window's "Starting…"): while holds.json
// names a job's label under "start" ({"start":["com.quillon.helper"]}), the
// supervisor leaves the job unstarted, loaded and wanted; when the label
// goes, it starts the job at once (it watches the folder). On a real Mac
// the same moment passes by itself; here the test decides when it ends.
constexpr std::string_view kHoldsFile = "holds.json";

// The labels whose start is held; none when the file is missing or
// malformed.
std::set<std::string> heldStarts(const SystemFolder& folder);
void holdStart(const SystemFolder& folder, const std::string& label);
// The file goes with the last hold, so that a machine without holds has no
// such file.
void releaseStart(const SystemFolder& folder, const std::string& label);

}  // namespace quillon::sim
