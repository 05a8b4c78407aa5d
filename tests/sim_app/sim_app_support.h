#pragma once

// A fresh simulated Mac for the app's tests: a system folder and a home
// folder (HOME points at it while the test runs), and whatever the machine
// started is stopped when the test ends.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/app/launchd_state.h"
#include "sim/app/process_table.h"
#include "sim/sim_mac.h"

namespace quillon::sim::testing {

namespace fs = std::filesystem;

// The bundle the build assembles (build/Quillon.app).
inline fs::path builtBundle() {
  return QUILLON_BUNDLE_DIR;
}

inline std::string readText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeText(const fs::path& p, const std::string& text) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
}

// Polls `done` every 20 ms for up to `seconds`: by default far beyond any
// machine's speed, so that it only keeps a broken test from hanging.
inline bool waitFor(const std::function<bool()>& done, double seconds = 60) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(int(seconds * 1000));
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return done();
}

// The pid launchd reports for job `label` once `wanted` accepts it (any
// pid by default), or 0 if it never does. Each look reads the status once:
// launchd may reap the job between two reads, and a pid of 0 handed on to
// kill() would signal the test's own process group.
inline pid_t waitForJobPid(const fs::path& root, const std::string& label,
                           const std::function<bool(pid_t)>& wanted = {}) {
  pid_t seen = 0;
  const bool found = waitFor([&] {
    seen = readJobStatus(SystemFolder(root))[label].pid;
    return seen > 0 && (!wanted || wanted(seen));
  });
  return found ? seen : 0;
}

// The pid of a process that has ended and been reaped: what a killed
// writer's files name.
inline pid_t deadPid() {
  pid_t pid = fork();
  if (pid == 0) _exit(0);
  int status = 0;
  waitpid(pid, &status, 0);
  return pid;
}

// A bundle with the built bundle's property lists (the agent's one too)
// but no executables: enough for everything but starting a program.
inline void makeBundle(const fs::path& at) {
  fs::create_directories(at / "Contents/Library/LaunchAgents");
  fs::copy_file(builtBundle() / "Contents/Info.plist", at / "Contents/Info.plist");
  fs::copy_file(builtBundle() / "Contents/Library/LaunchAgents/com.quillon.helper.plist",
                at / "Contents/Library/LaunchAgents/com.quillon.helper.plist");
}

class SimAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/quillon-app-test-XXXXXX";
    base_ = mkdtemp(tmpl);
    root_ = base_ / "mac";
    home_ = base_ / "home";
    fs::create_directories(root_);
    fs::create_directories(home_);
    if (const char* h = getenv("HOME")) oldHome_ = h;
    setenv("HOME", home_.c_str(), 1);
  }
  void TearDown() override {
    shutdownMachine(root_);
    EXPECT_TRUE(liveProcesses(SystemFolder(root_)).empty());
    setenv("HOME", oldHome_.c_str(), 1);
    std::error_code ec;
    fs::remove_all(base_, ec);
  }
  const fs::path& root() const { return root_; }
  const fs::path& home() const { return home_; }
  fs::path base_, root_, home_;
  std::string oldHome_;
};

}  // namespace quillon::sim::testing
