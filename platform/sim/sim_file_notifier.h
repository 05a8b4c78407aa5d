#pragma once

#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "sim/sim_folder.h"
#include "sim/sim_folder_watcher.h"
#include "sim/sim_hid.h"
#include "sim/sim_multitouch.h"
#include "sim/sim_services.h"

namespace quillon::sim {

// Another process (a test, a person) may change the machine's files
// directly. While the helper runs, this turns such changes into what the
// system would announce: a display reconfiguration when displays.json
// changes, a device removal when a device leaves devices.json. Changes the
// Mac makes itself announce themselves; they only update the last state
// seen, so nothing is announced twice.
class FileNotifier {
 public:
  FileNotifier(const SystemFolder& folder, SimDisplays& displays, SimMultitouch& multitouch,
               SimHid& hid);
  // Starts watching the folder on `watcher`'s run loop; false if it can't.
  bool start(platform::FolderWatcher& watcher);
  // The Mac changed a file itself: take the new content as seen.
  void noteCurrent();
  // Runs on the loop: announces what changed since the last look.
  void check();

 private:
  struct Seen {
    std::string displays;
    std::set<uint64_t> devices;
  };
  Seen read() const;

  const SystemFolder& folder_;
  SimDisplays& displays_;
  SimMultitouch& multitouch_;
  SimHid& hid_;
  std::mutex mutex_;
  Seen seen_;
  std::unique_ptr<platform::FolderWatcher::Watch> watch_;
};

}  // namespace quillon::sim
