#include "sim/app/app_channel.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "sim/app/app_mac.h"
#include "sim/sim_socket_address.h"

namespace quillon::sim {

using nlohmann::json;

namespace {

constexpr size_t kMaxLine = 1 << 20;

bool sendAll(int fd, const std::string& s) {
  size_t done = 0;
  while (done < s.size()) {
    ssize_t n = send(fd, s.data() + done, s.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

json error(const std::string& text) {
  return {{"ok", false}, {"error", text}};
}

}  // namespace

AppChannel::AppChannel(std::filesystem::path path, Handler handle)
    : path_(std::move(path)), handle_(std::move(handle)) {
  std::error_code ec;
  std::filesystem::remove(path_, ec);  // named after our pid: a leftover is stale
  SocketAddress addr(path_);
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (!addr.valid() || fd < 0 || bind(fd, addr.get(), addr.size()) != 0 || listen(fd, 8) != 0) {
    if (fd >= 0) close(fd);
    return;
  }
  fd_ = fd;
  stopFd_ = eventfd(0, EFD_CLOEXEC);
  thread_ = std::thread([this] { serve(); });
}

AppChannel::~AppChannel() {
  if (fd_ < 0) return;
  uint64_t one = 1;
  (void)!write(stopFd_, &one, sizeof one);
  thread_.join();
  close(fd_);
  close(stopFd_);
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

// Runs on the channel's thread. One client at a time: requests are rare
// and short.
void AppChannel::serve() {
  for (;;) {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) continue;
    int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    serveClient(client);
    close(client);
  }
}

void AppChannel::serveClient(int fd) {
  std::string in;
  char buf[4096];
  for (;;) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[1].revents) return;
    ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    in.append(buf, static_cast<size_t>(n));
    for (size_t nl; (nl = in.find('\n')) != std::string::npos;) {
      std::string line = in.substr(0, nl);
      in.erase(0, nl + 1);
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      json request = json::parse(line, nullptr, false);
      json reply;
      if (request.is_discarded() || !request.is_object()) {
        reply = error("not a JSON object");
      } else {
        try {
          reply = handle_(request);
        } catch (const json::exception& e) {
          reply = error(e.what());
        }
      }
      if (!sendAll(fd, reply.dump() + "\n")) return;
    }
    if (in.size() > kMaxLine) {
      sendAll(fd, error("line too long").dump() + "\n");
      return;
    }
  }
}

json sendAppRequest(const std::filesystem::path& root, pid_t pid, const json& request,
                    double timeoutSeconds) {
  int fd = connectUnix(appChannelPath(root, pid));
  if (fd < 0) return error("no app listening for pid " + std::to_string(pid));
  json reply = error("the app did not answer");
  if (sendAll(fd, request.dump() + "\n")) {
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(static_cast<int>(timeoutSeconds * 1000));
    std::string in;
    char buf[4096];
    for (;;) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      ssize_t n = recv(fd, buf, sizeof buf, 0);
      if (n <= 0) break;
      in.append(buf, static_cast<size_t>(n));
      if (auto nl = in.find('\n'); nl != std::string::npos) {
        json parsed = json::parse(in.substr(0, nl), nullptr, false);
        if (!parsed.is_discarded()) reply = parsed;
        break;
      }
    }
  }
  close(fd);
  return reply;
}

}  // namespace quillon::sim
