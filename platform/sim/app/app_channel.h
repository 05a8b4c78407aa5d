#pragma once

#include <sys/types.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include <nlohmann/json.hpp>

namespace quillon::sim {

// A running app's channel: a Unix socket, one JSON request per line in,
// one JSON reply per line out, served on a thread of its own (the app's
// main thread may be busy in a modal loop). `handle` runs on that thread
// and must be thread-safe; it posts to the main queue what must run there.
class AppChannel {
 public:
  using Handler = std::function<nlohmann::json(const nlohmann::json&)>;
  AppChannel(std::filesystem::path path, Handler handle);
  ~AppChannel();
  AppChannel(const AppChannel&) = delete;
  AppChannel& operator=(const AppChannel&) = delete;
  bool listening() const { return fd_ >= 0; }

 private:
  void serve();
  void serveClient(int fd);
  std::filesystem::path path_;
  Handler handle_;
  int fd_ = -1;
  int stopFd_ = -1;  // eventfd that ends serve()
  std::thread thread_;
};

// One request to the app of `pid` on this machine; its reply, or
// {"ok":false,"error":...} when it cannot be reached within `timeoutSeconds`.
nlohmann::json sendAppRequest(const std::filesystem::path& root, pid_t pid,
                              const nlohmann::json& request, double timeoutSeconds = 5);

}  // namespace quillon::sim
