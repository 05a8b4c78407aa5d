#include "sim/sim_socket_address.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace quillon::sim {

SocketAddress::SocketAddress(const std::filesystem::path& path) {
  addr_.sun_family = AF_UNIX;
  std::string p = path.string();
  if (p.size() >= sizeof addr_.sun_path) {
    dirFd_ = open(path.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd_ < 0) return;
    p = "/proc/self/fd/" + std::to_string(dirFd_) + "/" + path.filename().string();
    if (p.size() >= sizeof addr_.sun_path) return;
  }
  std::memcpy(addr_.sun_path, p.c_str(), p.size() + 1);
  valid_ = true;
}

SocketAddress::~SocketAddress() {
  if (dirFd_ >= 0) close(dirFd_);
}

int connectUnix(const std::filesystem::path& path) {
  SocketAddress addr(path);
  if (!addr.valid()) return -1;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, addr.get(), addr.size()) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace quillon::sim
