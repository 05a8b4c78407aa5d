#pragma once

#include "sim/sim_run_loop.h"

namespace quillon::sim {

// inotify on one folder, read on the run loop. Like a dispatch source, it
// coalesces: one call of onEvent for each batch of events read together.
class SimFolderWatcher : public platform::FolderWatcher {
 public:
  explicit SimFolderWatcher(SimRunLoop& loop) : loop_(loop) {}
  std::unique_ptr<Watch> watch(const std::string& folder, std::function<void()> onEvent) override;

 private:
  SimRunLoop& loop_;
};

}  // namespace quillon::sim
