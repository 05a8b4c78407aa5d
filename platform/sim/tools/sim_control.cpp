// quillon-sim-control: drives the simulated Mac.
//
//   quillon-sim-control [--root DIR] [JSON ...]             a running helper
//   quillon-sim-control [--root DIR] --app [--pid N] [JSON ...]   a running app
//   quillon-sim-control [--root DIR] --offline [JSON ...]   the machine's files
//   quillon-sim-control [--root DIR] --shutdown             stop all it started
//
// Sends each JSON argument as one request, or, with none, each line of
// standard input, and prints each reply on its own line. The machine is
// DIR, else $QUILLON_SIM_ROOT, else ~/.quillon-sim. --app talks to the app
// of pid N, or to the only app of the machine that serves a channel.
// Exit status 0 when every reply has "ok":true, 1 otherwise, 2 when the
// helper or app can't be reached.
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/app/app_mac.h"
#include "sim/app/offline_control.h"
#include "sim/app/process_table.h"
#include "sim/sim_mac.h"
#include "sim/sim_socket_address.h"
#include "sim/sim_state.h"

namespace {

bool sendAll(int fd, const std::string& s) {
  size_t done = 0;
  while (done < s.size()) {
    ssize_t n = send(fd, s.data() + done, s.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// One reply line; false when the connection ended first.
bool readLine(int fd, std::string& pending, std::string& line) {
  for (;;) {
    if (auto nl = pending.find('\n'); nl != std::string::npos) {
      line = pending.substr(0, nl);
      pending.erase(0, nl + 1);
      return true;
    }
    char buf[4096];
    ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) return false;
    pending.append(buf, static_cast<size_t>(n));
  }
}

// The channel of the app of `pid`, or of the only app that serves one.
std::filesystem::path appSocket(const std::filesystem::path& root, int pid) {
  if (pid > 0) return quillon::sim::appChannelPath(root, pid);
  std::vector<std::filesystem::path> found;
  for (const auto& app : quillon::sim::readApps(quillon::sim::SystemFolder(root))) {
    auto path = quillon::sim::appChannelPath(root, app.pid);
    if (app.process && std::filesystem::exists(path)) found.push_back(path);
  }
  if (found.size() != 1) return {};
  return found.front();
}

int offline(const std::filesystem::path& root, const std::vector<std::string>& requests) {
  bool allOk = true;
  auto ask = [&](const std::string& line) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) return;
    auto request = nlohmann::json::parse(line, nullptr, false);
    auto reply = request.is_discarded() ? nlohmann::json{{"ok", false}, {"error", "bad JSON"}}
                                        : quillon::sim::runOfflineCommand(root, request);
    std::cout << reply.dump() << std::endl;
    allOk = allOk && reply.value("ok", false);
  };
  if (!requests.empty()) {
    for (const auto& r : requests) ask(r);
  } else {
    for (std::string line; std::getline(std::cin, line);) ask(line);
  }
  return allOk ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path root = quillon::sim::Mac::defaultRoot();
  std::vector<std::string> requests;
  bool app = false, offlineMode = false, shutdown = false;
  int pid = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc)
      root = argv[++i];
    else if (std::strcmp(argv[i], "--app") == 0)
      app = true;
    else if (std::strcmp(argv[i], "--pid") == 0 && i + 1 < argc)
      pid = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--offline") == 0)
      offlineMode = true;
    else if (std::strcmp(argv[i], "--shutdown") == 0)
      shutdown = true;
    else
      requests.emplace_back(argv[i]);
  }
  if (shutdown) {
    int stopped = quillon::sim::shutdownMachine(root);
    std::printf("stopped %d process%s\n", stopped, stopped == 1 ? "" : "es");
    return 0;
  }
  if (offlineMode) return offline(root, requests);
  auto path = app ? appSocket(root, pid) : root / "control.sock";
  int fd = path.empty() ? -1 : quillon::sim::connectUnix(path);
  if (fd < 0) {
    if (app && path.empty())
      std::fprintf(stderr, "quillon-sim-control: no single app serves a channel; give --pid\n");
    else
      std::fprintf(stderr, "quillon-sim-control: nothing listening on %s\n", path.c_str());
    return 2;
  }
  bool allOk = true;
  std::string pending, reply;
  auto ask = [&](const std::string& request) {
    if (request.find_first_not_of(" \t\r") == std::string::npos) return true;
    if (!sendAll(fd, request + "\n") || !readLine(fd, pending, reply)) return false;
    std::cout << reply << std::endl;
    if (reply.find("\"ok\":true") == std::string::npos) allOk = false;
    return true;
  };
  bool connected = true;
  if (!requests.empty()) {
    for (const auto& r : requests)
      if (!(connected = ask(r))) break;
  } else {
    for (std::string line; connected && std::getline(std::cin, line);) connected = ask(line);
  }
  close(fd);
  if (!connected) {
    std::fprintf(stderr, "quillon-sim-control: the connection was closed\n");
    return 2;
  }
  return allOk ? 0 : 1;
}
