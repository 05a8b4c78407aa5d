#pragma once

#include "quillon/platform/app_system.h"
#include "sim/app/mac_fs.h"
#include "sim/sim_folder.h"
#include "sim/sim_records.h"

namespace quillon::sim {

// Child processes: each call is recorded with the exact Mac-side program
// and arguments ("run", "startDetached"), then its mapped form runs
// (tool_map.h) with QUILLON_SIM_ROOT and QUILLON_SIM_TOOL set, so that the
// stand-ins act on this machine. A detached child leads a process group of
// its own and is entered in processes.json before it runs, so that
// shutdownMachine() stops it and what it started.
class SimProcesses : public platform::Processes {
 public:
  SimProcesses(const SystemFolder& folder, const MacFileSystem& files, Recorder& recorder)
      : folder_(folder), files_(files), recorder_(recorder) {}
  // Any thread.
  platform::ProcessResult run(const std::string& path,
                              const std::vector<std::string>& args) override;
  platform::OsResult startDetached(const std::string& path,
                                   const std::vector<std::string>& args) override;

 private:
  std::vector<std::string> environment() const;
  const SystemFolder& folder_;
  const MacFileSystem& files_;
  Recorder& recorder_;
};

// Text that is valid UTF-8, else empty, as String(data:encoding:.utf8).
std::string validUtf8OrEmpty(std::string text);

}  // namespace quillon::sim
