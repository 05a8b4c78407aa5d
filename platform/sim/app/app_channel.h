#pragma once

#include <sys/types.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

namespace quillon::sim {

// A running app's channel: a Unix socket, one JSON request per line in,
// one JSON reply per line out, served on a thread of its own (the app's
// main thread may be busy in a modal loop). `handle` runs on that thread
// and must be thread-safe; it posts to the main queue what must run there.
// A client that does not take its reply within `replyDeadlineSeconds` is
// dropped, and the destructor shuts the sockets down before it joins the
// thread, so that no client can keep the app from quitting.
class AppChannel {
 public:
  using Handler = std::function<nlohmann::json(const nlohmann::json&)>;
  static constexpr double kReplyDeadlineSeconds = 2;
  AppChannel(std::filesystem::path path, Handler handle,
             double replyDeadlineSeconds = kReplyDeadlineSeconds);
  ~AppChannel();
  AppChannel(const AppChannel&) = delete;
  AppChannel& operator=(const AppChannel&) = delete;
  bool listening() const { return fd_ >= 0; }

 private:
  void serve();
  void serveClient(int fd);
  bool sendReply(int fd, const std::string& line) const;
  std::filesystem::path path_;
  Handler handle_;
  double replyDeadlineSeconds_;
  int fd_ = -1;
  int stopFd_ = -1;  // eventfd that ends serve()
  std::mutex clientMutex_;
  int client_ = -1;  // the client being served, under clientMutex_
  bool stopping_ = false;
  std::thread thread_;
};

// Removes the channels (app-<pid>.sock) that apps which ended without
// their tear-down (killed) left in `root`: those whose pid no longer runs.
void removeStaleAppChannels(const std::filesystem::path& root);

// One request to the app of `pid` on this machine; its reply, or
// {"ok":false,"error":...} when it cannot be reached within `timeoutSeconds`.
nlohmann::json sendAppRequest(const std::filesystem::path& root, pid_t pid,
                              const nlohmann::json& request, double timeoutSeconds = 5);

}  // namespace quillon::sim
