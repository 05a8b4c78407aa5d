// quillon-sim-control: drives a running helper on the simulated Mac.
//
//   quillon-sim-control [--root DIR] [JSON ...]
//
// Sends each JSON argument as one request, or, with none, each line of
// standard input, and prints each reply on its own line. The machine is
// DIR, else $QUILLON_SIM_ROOT, else ~/.quillon-sim. Exit status 0 when
// every reply has "ok":true, 1 otherwise, 2 when the helper can't be
// reached.
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "sim/sim_mac.h"
#include "sim/sim_socket_address.h"

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

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path root = quillon::sim::Mac::defaultRoot();
  std::vector<std::string> requests;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc)
      root = argv[++i];
    else
      requests.emplace_back(argv[i]);
  }
  auto path = root / "control.sock";
  int fd = quillon::sim::connectUnix(path);
  if (fd < 0) {
    std::fprintf(stderr, "quillon-sim-control: no helper listening on %s\n", path.c_str());
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
    std::fprintf(stderr, "quillon-sim-control: the helper closed the connection\n");
    return 2;
  }
  return allOk ? 0 : 1;
}
