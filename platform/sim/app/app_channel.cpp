#include "sim/app/app_channel.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
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

AppChannel::AppChannel(std::filesystem::path path, Handler handle, double replyDeadlineSeconds)
    : path_(std::move(path)),
      handle_(std::move(handle)),
      replyDeadlineSeconds_(replyDeadlineSeconds) {
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
  // Shut down first: a thread in poll, accept, recv or send wakes up and
  // returns, whatever the client does, so the join cannot wait on it.
  {
    std::lock_guard g(clientMutex_);
    stopping_ = true;
    if (client_ >= 0) shutdown(client_, SHUT_RDWR);
  }
  shutdown(fd_, SHUT_RDWR);
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
    int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client < 0) continue;
    {
      std::lock_guard g(clientMutex_);
      if (stopping_) {
        close(client);
        return;
      }
      client_ = client;
    }
    serveClient(client);
    // Closed under the lock, so that the destructor never shuts down a
    // descriptor number that something else has been given meanwhile.
    std::lock_guard g(clientMutex_);
    client_ = -1;
    close(client);
  }
}

// Sends a whole line to a non-blocking client, waiting for room at most
// until the deadline; false (the client is dropped) when it does not take
// the line in time, went away, or the channel stops.
bool AppChannel::sendReply(int fd, const std::string& line) const {
  auto deadline = std::chrono::steady_clock::now() +
                  std::chrono::milliseconds(static_cast<int64_t>(replyDeadlineSeconds_ * 1000));
  size_t done = 0;
  while (done < line.size()) {
    ssize_t n = send(fd, line.data() + done, line.size() - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) return false;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd fds[2] = {{fd, POLLOUT, 0}, {stopFd_, POLLIN, 0}};
    if (poll(fds, 2, static_cast<int>(left.count())) < 0 && errno != EINTR) return false;
    if (fds[1].revents) return false;
  }
  return true;
}

void AppChannel::serveClient(int fd) {
  std::string in;
  char buf[4096];
  for (;;) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[1].revents) return;
    ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
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
      if (!sendReply(fd, reply.dump() + "\n")) return;
    }
    if (in.size() > kMaxLine) {
      sendReply(fd, error("line too long").dump() + "\n");
      return;
    }
  }
}

void removeStaleAppChannels(const std::filesystem::path& root) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with("app-") || !name.ends_with(".sock")) continue;
    const std::string digits = name.substr(4, name.size() - 4 - 5);
    int pid = 0;
    auto [last, err] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    if (err != std::errc() || last != digits.data() + digits.size() || pid <= 0) continue;
    // ESRCH only: a process we may not signal (EPERM) still runs.
    if (kill(pid, 0) == 0 || errno != ESRCH) continue;
    std::error_code removeError;
    std::filesystem::remove(it->path(), removeError);
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
