#include "sim/sim_control_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sim/sim_socket_address.h"

namespace quillon::sim {

namespace {

// Another helper still serving this machine keeps its socket; only a file
// that nobody answers on is stale.
bool someoneListens(const std::filesystem::path& path) {
  int fd = connectUnix(path);
  if (fd < 0) return false;
  close(fd);
  return true;
}

}  // namespace

ControlServer::ControlServer(Mac& mac, SimRunLoop& loop, std::filesystem::path path)
    : mac_(mac), loop_(loop), path_(std::move(path)) {
  if (someoneListens(path_)) {
    std::fprintf(stderr, "control socket %s is in use by another process\n", path_.c_str());
    return;
  }
  std::error_code ec;
  std::filesystem::remove(path_, ec);
  SocketAddress addr(path_);
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (!addr.valid() || fd < 0 || bind(fd, addr.get(), addr.size()) != 0 || listen(fd, 16) != 0) {
    std::fprintf(stderr, "can't serve control socket %s: %s\n", path_.c_str(),
                 std::strerror(errno));
    if (fd >= 0) close(fd);
    return;
  }
  struct stat st {};
  if (stat(path_.c_str(), &st) == 0) inode_ = st.st_ino;
  fd_ = fd;
  source_ = loop_.addSource(fd_, POLLIN, [this](short) { acceptAll(); });
}

ControlServer::~ControlServer() {
  while (!clients_.empty()) drop(clients_.begin()->first);
  if (fd_ < 0) return;
  loop_.removeSource(source_);
  close(fd_);
  struct stat st {};
  if (stat(path_.c_str(), &st) == 0 && st.st_ino == inode_) {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
}

void ControlServer::acceptAll() {
  for (;;) {
    int fd = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    auto c = std::make_unique<Client>();
    c->fd = fd;
    c->source = loop_.addSource(fd, POLLIN, [this, fd](short revents) { onClient(fd, revents); });
    clients_[fd] = std::move(c);
  }
}

void ControlServer::onClient(int fd, short revents) {
  auto it = clients_.find(fd);
  if (it == clients_.end()) return;
  Client& c = *it->second;
  bool keep = true;
  if (revents & (POLLIN | POLLHUP | POLLERR)) keep = readFrom(c);
  if (keep && (revents & POLLOUT)) keep = flush(c);
  if (!keep) drop(fd);
}

bool ControlServer::readFrom(Client& c) {
  std::array<char, 65536> buf;
  for (;;) {
    ssize_t n = recv(c.fd, buf.data(), buf.size(), 0);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // The client went away; a line it did not finish is not a request.
      // Replies still owed are sent if the socket takes them at once.
      flush(c);
      return false;
    }
    c.in.append(buf.data(), static_cast<size_t>(n));
    size_t start = 0;
    for (size_t nl; (nl = c.in.find('\n', start)) != std::string::npos; start = nl + 1) {
      std::string line = c.in.substr(start, nl - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.find_first_not_of(" \t") == std::string::npos) continue;
      c.out += controlReply(mac_, line);
      c.out += '\n';
    }
    c.in.erase(0, start);
    if (c.in.size() > kMaxLine) {
      c.out += R"({"ok":false,"error":"line too long"})";
      c.out += '\n';
      flush(c);
      return false;
    }
    if (!flush(c)) return false;
  }
  return true;
}

bool ControlServer::flush(Client& c) {
  while (!c.out.empty()) {
    ssize_t n = send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    if (n <= 0) return false;
    c.out.erase(0, static_cast<size_t>(n));
  }
  if (c.out.size() > kMaxPending) return false;
  if (c.waitingToWrite != !c.out.empty()) {
    c.waitingToWrite = !c.out.empty();
    loop_.setSourceEvents(c.source, c.waitingToWrite ? POLLIN | POLLOUT : POLLIN);
  }
  return true;
}

void ControlServer::drop(int fd) {
  auto it = clients_.find(fd);
  if (it == clients_.end()) return;
  loop_.removeSource(it->second->source);
  close(fd);
  clients_.erase(it);
}

}  // namespace quillon::sim
