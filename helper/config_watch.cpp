#include "helper/config_watch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "helper/reload.h"

namespace quillon {

namespace {

#if defined(__APPLE__)
constexpr int kFolderOpenFlags = O_EVTONLY | O_CLOEXEC;
#else
constexpr int kFolderOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// The watch together with the folder held open. A deleted folder's inode
// number is free for the next folder made, often the very one made again at
// the same path; while we hold the old one open it cannot be reused, so the
// device and inode tell the old folder from a new one exactly.
class HeldWatch : public platform::FolderWatcher::Watch {
 public:
  HeldWatch(int fd, std::unique_ptr<Watch> watch) : fd_(fd), watch_(std::move(watch)) {}
  ~HeldWatch() override {
    watch_.reset();
    ::close(fd_);
  }
  HeldWatch(const HeldWatch&) = delete;
  HeldWatch& operator=(const HeldWatch&) = delete;

 private:
  int fd_;
  std::unique_ptr<Watch> watch_;
};

bool sameFolder(const std::optional<FileStamp>& a, const std::optional<FileStamp>& b) {
  return a && b && a->device == b->device && a->inode == b->inode;
}

bool watchIsCurrent(HelperState& state) {
  return state.main.configWatcher &&
         sameFolder(state.main.configWatchFolder, fileStamp(state.paths.supportDir));
}

void onFolderEvent(HelperState& state) {
  // A watch is not torn down from inside its own handler; the re-opening
  // waits for the next turn of the run loop.
  if (!watchIsCurrent(state)) {
    state.system.runLoop.after(0, [&state] { keepConfigWatch(state); });
  }
  reloadConfig(state, false);
}

}  // namespace

void watchConfigFolder(HelperState& state) {
  MainState& main = state.main;
  main.configWatcher.reset();
  main.configWatchFolder.reset();
  const int fd = ::open(state.paths.supportDir.c_str(), kFolderOpenFlags);
  if (fd < 0) {
    return;
  }
  struct stat st {};
  std::unique_ptr<platform::FolderWatcher::Watch> watch;
  if (::fstat(fd, &st) == 0) {
    watch = state.system.folders.watch(state.paths.supportDir.string(),
                                       [&state] { onFolderEvent(state); });
  }
  if (!watch) {
    ::close(fd);
    return;
  }
  main.configWatcher = std::make_unique<HeldWatch>(fd, std::move(watch));
  main.configWatchFolder =
      FileStamp{0, static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), 0};
}

void keepConfigWatch(HelperState& state) {
  if (watchIsCurrent(state)) {
    return;
  }
  const std::optional<FileStamp> watched = state.main.configWatchFolder;
  watchConfigFolder(state);
  // The folder was deleted or replaced, and status.json went with it: the
  // next status write must not be skipped as unchanged.
  if (watched && !sameFolder(watched, state.main.configWatchFolder)) {
    state.main.lastStatus.clear();
  }
  reloadConfig(state, false);
}

}  // namespace quillon
