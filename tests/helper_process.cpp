#include "helper_process.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace quillon::testing {

namespace fs = std::filesystem;

namespace {

fs::path makeTempDir(const fs::path& base) {
  std::string dir = (base / "quillon-e2e-XXXXXX").string();
  if (::mkdtemp(dir.data()) == nullptr) return {};
  return dir;
}

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

TempHome::TempHome(const fs::path& base)
    : root(makeTempDir(base)),
      home(root / "home"),
      simRoot(root / "sim"),
      paths(Paths::forHome(home)) {
  fs::create_directories(home);
  fs::create_directories(simRoot);
}

TempHome::~TempHome() {
  std::error_code ignored;
  fs::remove_all(root, ignored);
}

HelperProcess::HelperProcess(const TempHome& home,
                             std::vector<std::pair<std::string, std::string>> extraEnv) {
  const char* helper = std::getenv("QUILLON_HELPER");
  if (helper == nullptr) return;
  // Everything is prepared before fork(): the child only calls execve.
  extraEnv.emplace_back("HOME", home.home.string());
  extraEnv.emplace_back("QUILLON_SIM_ROOT", home.simRoot.string());
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const auto& [name, value] : extraEnv) replaced |= entry.rfind(name + "=", 0) == 0;
    if (!replaced) env.push_back(entry);
  }
  for (const auto& [name, value] : extraEnv) env.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string program = helper;
  std::string command = "run";
  char* argv[] = {program.data(), command.data(), nullptr};

  pid_ = ::fork();
  if (pid_ == 0) {
    ::execve(program.c_str(), argv, envp.data());
    ::_exit(127);
  }
}

HelperProcess::~HelperProcess() {
  kill();
}

void HelperProcess::kill() {
  if (pid_ <= 0 || status_) return;
  ::kill(pid_, SIGKILL);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  status_ = 128 + SIGKILL;
}

std::optional<int> HelperProcess::waitExit(double seconds) {
  if (status_ || pid_ <= 0) return status_;
  const double end = now() + seconds;
  do {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return status_;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  } while (now() < end);
  return std::nullopt;
}

long HelperProcess::rssKB() const {
  std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

bool waitUntil(const std::function<bool()>& done, double seconds) {
  const double end = now() + seconds;
  for (;;) {
    if (done()) return true;
    if (now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::vector<std::string> logMessages(const fs::path& logFile) {
  std::ifstream in(logFile);
  std::vector<std::string> messages;
  std::string line;
  // A line still being written has no line feed yet; getline gives it only
  // at the very end of the file, where it is left out.
  while (std::getline(in, line)) {
    if (in.eof()) break;
    messages.push_back(line.size() >= 22 && line[0] == '[' ? line.substr(22) : line);
  }
  return messages;
}

std::optional<size_t> findMessage(const std::vector<std::string>& messages,
                                  const std::string& prefix, size_t from) {
  for (size_t i = from; i < messages.size(); ++i)
    if (messages[i].rfind(prefix, 0) == 0) return i;
  return std::nullopt;
}

std::optional<size_t> waitForMessage(const fs::path& logFile, const std::string& prefix,
                                     double seconds, size_t from) {
  std::optional<size_t> found;
  waitUntil([&] { return (found = findMessage(logMessages(logFile), prefix, from)).has_value(); },
            seconds);
  return found;
}

std::string readWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> sanitizerReports(const fs::path& logFile) {
  std::vector<std::string> reports;
  for (const std::string& m : logMessages(logFile))
    if (m.find("runtime error:") != std::string::npos ||
        m.find("ERROR: AddressSanitizer") != std::string::npos ||
        m.find("WARNING: ThreadSanitizer") != std::string::npos)
      reports.push_back(m);
  return reports;
}

Control::Control(const fs::path& simRoot, double seconds) {
  const std::string path = (simRoot / "control.sock").string();
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  waitUntil(
      [&] {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
          // A helper that stops answering fails the test instead of hanging it.
          timeval timeout{3, 0};
          ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
          fd_ = fd;
          return true;
        }
        ::close(fd);
        return false;
      },
      seconds);
}

Control::~Control() {
  if (fd_ >= 0) ::close(fd_);
}

std::string Control::send(const std::string& jsonLine) {
  if (fd_ < 0) return {};
  std::string out = jsonLine + "\n";
  for (size_t sent = 0; sent < out.size();) {
    ssize_t n = ::send(fd_, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return {};
    sent += static_cast<size_t>(n);
  }
  for (;;) {
    if (size_t nl = pending_.find('\n'); nl != std::string::npos) {
      std::string reply = pending_.substr(0, nl);
      pending_.erase(0, nl + 1);
      return reply;
    }
    char buf[4096];
    ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n <= 0) return {};
    pending_.append(buf, static_cast<size_t>(n));
  }
}

}  // namespace quillon::testing
