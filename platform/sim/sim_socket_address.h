#pragma once

#include <sys/socket.h>
#include <sys/un.h>

#include <filesystem>

namespace quillon::sim {

// A Unix socket address for a path of any length. sun_path holds only 107
// bytes and test folders are often deeper than that; a longer path is
// reached through the parent folder's descriptor (/proc/self/fd/N/name),
// which stays open as long as this object lives.
class SocketAddress {
 public:
  explicit SocketAddress(const std::filesystem::path& path);
  ~SocketAddress();
  SocketAddress(const SocketAddress&) = delete;
  SocketAddress& operator=(const SocketAddress&) = delete;

  bool valid() const { return valid_; }
  const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&addr_); }
  socklen_t size() const { return sizeof addr_; }

 private:
  sockaddr_un addr_{};
  int dirFd_ = -1;
  bool valid_ = false;
};

// A connected, blocking client socket; -1 on failure.
int connectUnix(const std::filesystem::path& path);

}  // namespace quillon::sim
