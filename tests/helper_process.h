#pragma once

// Runs the real helper binary against a simulated Mac of its own, for the
// end-to-end and reliability tests.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/paths.h"

namespace quillon::testing {

// The settings line of a helper that runs on the defaults.
constexpr const char* kDefaultSettings =
    "settings: trackpad: macOS | mouse: macOS | natural scrolling trackpad on, mouse off "
    "(macOS: on) | scroll acceleration trackpad on, mouse on | scroll speed trackpad 1.00×, "
    "mouse 1.00×";

// A fresh temporary folder with a home folder and a sim system folder,
// under `base`.
struct TempHome {
  explicit TempHome(const std::filesystem::path& base = std::filesystem::temp_directory_path());
  ~TempHome();
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  std::filesystem::path root;
  std::filesystem::path home;
  std::filesystem::path simRoot;
  Paths paths;
};

// `quillon-helper run` (path from $QUILLON_HELPER) with HOME and
// QUILLON_SIM_ROOT set. Killed when destroyed, so no test leaves one behind.
class HelperProcess {
 public:
  explicit HelperProcess(const TempHome& home,
                         std::vector<std::pair<std::string, std::string>> extraEnv = {});
  ~HelperProcess();
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;

  pid_t pid() const { return pid_; }
  // The exit status if it ends within `seconds`; nullopt if still running
  // (or killed by a signal, reported as 128 + signal).
  std::optional<int> waitExit(double seconds);
  void kill();
  // VmRSS from /proc, in kB; 0 when unknown.
  long rssKB() const;

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// Polls `done` every millisecond for at most `seconds`.
bool waitUntil(const std::function<bool()>& done, double seconds);

// The log's messages without their "[yyyy-MM-dd HH:mm:ss] " stamps.
std::vector<std::string> logMessages(const std::filesystem::path& logFile);
// Index of the first message at or after `from` that starts with `prefix`.
std::optional<size_t> findMessage(const std::vector<std::string>& messages,
                                  const std::string& prefix, size_t from = 0);
// Waits for such a message; returns its index.
std::optional<size_t> waitForMessage(const std::filesystem::path& logFile,
                                     const std::string& prefix, double seconds, size_t from = 0);

std::string readWhole(const std::filesystem::path& path);

// Lines of the log that a sanitizer wrote (the helper's standard error goes
// to its log): a sanitized helper that is killed at the end of a test
// would otherwise keep its findings to itself.
std::vector<std::string> sanitizerReports(const std::filesystem::path& logFile);

// One connection to the simulated Mac's control socket: a JSON line out, a
// JSON line back.
class Control {
 public:
  // Waits (bounded) for the helper to open the socket.
  explicit Control(const std::filesystem::path& simRoot, double seconds = 3);
  ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  bool connected() const { return fd_ >= 0; }
  // The reply line, or empty when the connection failed.
  std::string send(const std::string& jsonLine);

 private:
  int fd_ = -1;
  std::string pending_;
};

}  // namespace quillon::testing
