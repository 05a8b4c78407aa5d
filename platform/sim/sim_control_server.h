#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "sim/sim_mac.h"
#include "sim/sim_run_loop.h"

namespace quillon::sim {

// The control socket: a Unix stream socket served on the run loop. Each
// line in is one JSON request, each line out the reply to one request, in
// order (docs/simulated-mac.md). A client's mistakes (bad JSON, unknown
// commands, a line over kMaxLine, vanishing mid-line) cost that client an
// error reply or its connection, never the server.
class ControlServer {
 public:
  static constexpr size_t kMaxLine = 1 << 20;      // bytes
  static constexpr size_t kMaxPending = 16 << 20;  // unread replies before a client is dropped

  ControlServer(Mac& mac, SimRunLoop& loop, std::filesystem::path path);
  ~ControlServer();
  ControlServer(const ControlServer&) = delete;
  ControlServer& operator=(const ControlServer&) = delete;
  bool listening() const { return fd_ >= 0; }

 private:
  struct Client {
    int fd = -1;
    SimRunLoop::SourceId source = 0;
    std::string in;
    std::string out;
    bool waitingToWrite = false;  // POLLOUT asked for
  };
  void acceptAll();
  void onClient(int fd, short revents);
  // False when the client is to be dropped.
  bool readFrom(Client& c);
  bool flush(Client& c);
  void drop(int fd);

  Mac& mac_;
  SimRunLoop& loop_;
  std::filesystem::path path_;
  int fd_ = -1;
  ino_t inode_ = 0;  // of the socket file we made: we remove only that one
  SimRunLoop::SourceId source_ = 0;
  std::map<int, std::unique_ptr<Client>> clients_;
};

// One request of the control protocol, run on the loop thread. Never
// throws: errors become {"ok":false,"error":...}.
nlohmann::json runControlCommand(Mac& mac, const nlohmann::json& request);
std::string controlReply(Mac& mac, const std::string& line);

}  // namespace quillon::sim
