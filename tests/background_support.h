#pragma once

// The background run in process: a simulated Mac with a manual clock, the
// log on a temporary file.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/atomic_file.h"
#include "common/paths.h"
#include "helper/log.h"
#include "helper/state.h"
#include "sim/sim_mac.h"

namespace quillon::test {

inline std::string device(const std::string& mode, const std::string& extra = "") {
  return R"({"mode":")" + mode +
         R"(","speed":10,"accel":0.6,"winSpeed":5,"scale":1,"natural":true)" + extra + "}";
}

inline std::string configText(const std::string& trackpad, const std::string& mouse) {
  return R"({"trackpad":)" + trackpad + R"(,"mouse":)" + mouse + "}";
}

inline std::string readWhole(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Background : public ::testing::Test {
 protected:
  Background()
      : home_(makeHome()),
        mac_(home_ / "sim", sim::Mac::Options{.manualClock = true}),
        state_(std::make_unique<HelperState>(mac_.system(), Paths::forHome(home_))) {
    log_ = std::fopen((home_ / "test.log").c_str(), "w");
    setLogStream(log_);
    mac_.setAccessibility(true);
    mac_.setInputMonitoring(true);
  }
  ~Background() override {
    state_.reset();
    setLogStream(nullptr);
    std::fclose(log_);
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
  }

  static std::filesystem::path makeHome() {
    std::string dir = (std::filesystem::temp_directory_path() / "quillon-bg-XXXXXX").string();
    return std::filesystem::path(::mkdtemp(dir.data()));
  }

  HelperState& state() { return *state_; }
  const Paths& paths() { return state_->paths; }

  // Log messages without their "[yyyy-MM-dd HH:mm:ss] " stamps; each call
  // returns the lines written since the previous call.
  std::vector<std::string> newLogLines() {
    std::ifstream in(home_ / "test.log");
    std::vector<std::string> lines;
    std::string line;
    for (size_t n = 0; std::getline(in, line); ++n)
      if (n >= seenLines_) lines.push_back(line.size() > 22 ? line.substr(22) : line);
    seenLines_ += lines.size();
    return lines;
  }

  void writeConfig(const std::string& text) {
    std::filesystem::create_directories(paths().supportDir);
    ASSERT_TRUE(writeFileAtomically(paths().configFile, text));
  }

  Config applied() {
    std::lock_guard<FastLock> guard(state().lock);
    return state().shared.config;
  }

  std::filesystem::path home_;
  sim::Mac mac_;
  std::unique_ptr<HelperState> state_;
  std::FILE* log_ = nullptr;
  size_t seenLines_ = 0;
};

// The system's HID services, except that the manager never opens.
struct RefusingHid : platform::Hid {
  explicit RefusingHid(platform::Hid& h) : inner(h) {}
  platform::HidManagerRef createManager(platform::HidUsage d,
                                        const std::vector<platform::HidUsage>& v) override {
    return inner.createManager(d, v);
  }
  void setCallbacks(platform::HidManagerRef m, platform::HidValueCallback v,
                    platform::HidRemovalCallback r, void* c) override {
    inner.setCallbacks(m, v, r, c);
  }
  void schedule(platform::HidManagerRef m) override { inner.schedule(m); }
  bool open(platform::HidManagerRef) override { return false; }
  void close(platform::HidManagerRef m) override { inner.close(m); }
  std::optional<bool> boolProperty(platform::HidDeviceRef d, const char* k) override {
    return inner.boolProperty(d, k);
  }
  std::optional<std::string> stringProperty(platform::HidDeviceRef d, const char* k) override {
    return inner.stringProperty(d, k);
  }
  bool listenEventAccessGranted() override { return inner.listenEventAccessGranted(); }
  void requestListenEventAccess() override { inner.requestListenEventAccess(); }
  platform::Hid& inner;
};

// A folder watcher that gives no watch, after doing `onWatch`.
struct NoFolderWatcher : platform::FolderWatcher {
  std::unique_ptr<Watch> watch(const std::string&, std::function<void()>) override {
    if (onWatch) onWatch();
    return nullptr;
  }
  std::function<void()> onWatch;
};

inline platform::System withHid(const platform::System& base, platform::Hid& hid) {
  return {base.displays,    base.taps,          base.cursor,    base.clock,   base.multitouch, hid,
          base.preferences, base.accessibility, base.workspace, base.runLoop, base.folders};
}

inline platform::System withFolders(const platform::System& base,
                                    platform::FolderWatcher& folders) {
  return {base.displays,   base.taps,    base.cursor,      base.clock,
          base.multitouch, base.hid,     base.preferences, base.accessibility,
          base.workspace,  base.runLoop, folders};
}

}  // namespace quillon::test
