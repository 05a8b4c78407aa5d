#include "sim/sim_file_notifier.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "sim/sim_state.h"

namespace quillon::sim {

FileNotifier::FileNotifier(const SystemFolder& folder, SimDisplays& displays,
                           SimMultitouch& multitouch, SimHid& hid)
    : folder_(folder), displays_(displays), multitouch_(multitouch), hid_(hid) {}

FileNotifier::Seen FileNotifier::read() const {
  Seen s;
  // Compared as decoded, so that rewriting the same displays differently
  // spaced announces nothing.
  s.displays = displaysJson(readDisplays(folder_)).dump();
  Devices d = readDevices(folder_);
  for (const auto& t : d.trackpads) s.devices.insert(t.id);
  for (const auto& h : d.hid) s.devices.insert(h.id);
  return s;
}

bool FileNotifier::start(platform::FolderWatcher& watcher) {
  noteCurrent();
  watch_ = watcher.watch(folder_.root().string(), [this] { check(); });
  return watch_ != nullptr;
}

void FileNotifier::noteCurrent() {
  Seen now = read();
  std::lock_guard g(mutex_);
  seen_ = std::move(now);
}

void FileNotifier::check() {
  Seen now = read();
  bool displaysChanged;
  std::vector<uint64_t> removed;
  {
    std::lock_guard g(mutex_);
    displaysChanged = now.displays != seen_.displays;
    std::set_difference(seen_.devices.begin(), seen_.devices.end(), now.devices.begin(),
                        now.devices.end(), std::back_inserter(removed));
    seen_ = std::move(now);
  }
  if (displaysChanged) displays_.reconfigured();
  for (uint64_t id : removed) {
    multitouch_.disconnected(id);
    hid_.disconnected(id);
  }
}

}  // namespace quillon::sim
