#include "sim/sim_folder_watcher.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>

namespace quillon::sim {

namespace {

constexpr uint32_t kMask = IN_CREATE | IN_DELETE | IN_MODIFY | IN_MOVED_TO | IN_MOVED_FROM |
                           IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;

class InotifyWatch : public platform::FolderWatcher::Watch {
 public:
  InotifyWatch(SimRunLoop& loop, int fd, std::function<void()> onEvent)
      : loop_(loop), fd_(fd), onEvent_(std::move(onEvent)) {
    source_ = loop_.addSource(fd_, POLLIN, [this](short) { drain(); });
  }
  ~InotifyWatch() override {
    loop_.removeSource(source_);
    close(fd_);
  }
  InotifyWatch(const InotifyWatch&) = delete;
  InotifyWatch& operator=(const InotifyWatch&) = delete;

 private:
  void drain() {
    alignas(inotify_event) std::array<char, 4096> buf;
    bool any = false;
    for (;;) {
      ssize_t n = read(fd_, buf.data(), buf.size());
      if (n <= 0) break;
      any = true;
    }
    if (any && onEvent_) onEvent_();
  }

  SimRunLoop& loop_;
  int fd_;
  std::function<void()> onEvent_;
  SimRunLoop::SourceId source_ = 0;
};

}  // namespace

std::unique_ptr<platform::FolderWatcher::Watch> SimFolderWatcher::watch(
    const std::string& folder, std::function<void()> onEvent) {
  int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd < 0) return nullptr;
  if (inotify_add_watch(fd, folder.c_str(), kMask | IN_ONLYDIR) < 0) {
    close(fd);
    return nullptr;
  }
  return std::make_unique<InotifyWatch>(loop_, fd, std::move(onEvent));
}

}  // namespace quillon::sim
