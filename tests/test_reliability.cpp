// The real helper under sustained configuration rewrites and hostile
// config.json files. Every "settings: " line it logs must be the line of one
// whole file that was written, or of the defaults.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "helper/log.h"
#include "helper/reload.h"
#include "helper_process.h"
#include "sim/sim_mac.h"

namespace quillon::testing {
namespace {

// How long a test waits for what must come: far beyond any machine's
// speed, so that it only keeps a broken test from hanging.
constexpr double kEventually = 60;
// Below the helper's five-second timer: a change seen sooner came through
// the folder watch.
constexpr double kBeforeTheTimer = 2.5;

namespace fs = std::filesystem;
using nlohmann::json;

constexpr int kRewrites = 10'000;

// Twenty configurations that differ in every part of the settings line, and
// in length, so that a mixture of two would show.
std::vector<std::string> variants() {
  std::vector<std::string> out;
  for (int i = 0; i < 20; ++i) {
    json trackpad = {{"mode", "custom"}, {"speed", 5 + i},
                     {"accel", 0.1 * i}, {"winSpeed", 5},
                     {"scale", 1},       {"natural", i % 2 == 0},
                     {"threshold", i},   {"scrollSpeed", 1 + i / 10.0}};
    json mouse = {{"mode", i % 3 == 0 ? "windows" : "custom"},
                  {"speed", 20 + i},
                  {"accel", 0.5},
                  {"winSpeed", 1 + i},
                  {"scale", 1},
                  {"natural", i % 2 != 0},
                  {"dpi", 400 + 100 * i},
                  {"scrollAccelOff", i % 2 == 0},
                  {"scrollSpeed", 2 + i / 10.0}};
    if (i % 4 == 1) mouse["comment"] = std::string(static_cast<size_t>(i) * 40, 'c');
    out.push_back(json{{"trackpad", trackpad}, {"mouse", mouse}}.dump(2));
  }
  return out;
}

// The line each configuration gives, from the same reload code in process.
std::vector<std::string> referenceLines(const std::vector<std::string>& configs) {
  TempHome ref;
  sim::Mac mac(ref.simRoot);
  HelperState state(mac.system(), ref.paths);
  const fs::path logPath = ref.root / "reference.log";
  std::FILE* log = std::fopen(logPath.c_str(), "w");
  setLogStream(log);
  fs::create_directories(ref.paths.supportDir);
  for (const std::string& text : configs) {
    std::ofstream(ref.paths.configFile) << text;
    reloadConfig(state, true);
  }
  setLogStream(nullptr);
  std::fclose(log);
  std::vector<std::string> lines;
  for (const std::string& m : logMessages(logPath))
    if (m.rfind("settings: ", 0) == 0) lines.push_back(m);
  return lines;
}

// A new file renamed over the old one, as the app writes (without the
// fsync, which only matters after a power loss).
void writeRenamed(const fs::path& target, const std::string& text) {
  const fs::path temp = target.parent_path() / ".config.json.writer";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
  }
  fs::rename(temp, target);
}

// Truncated and then written in two parts: a reader can catch it empty or
// half written.
void writeInPlace(const fs::path& target, const std::string& text) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  const size_t half = text.size() / 2;
  ASSERT_EQ(::write(fd, text.data(), half), static_cast<ssize_t>(half));
  ASSERT_EQ(::write(fd, text.data() + half, text.size() - half),
            static_cast<ssize_t>(text.size() - half));
  ::close(fd);
}

struct Machine {
  explicit Machine(const fs::path& base = fs::temp_directory_path())
      : home(base), mac(home.simRoot) {
    mac.setDisplays({{{0, 0, 1470, 956}, 302, 196, true}});
    mac.setAccessibility(true);
    mac.setInputMonitoring(true);
    mac.connectTrackpad({.id = 1});
    mac.connectHidDevice({.id = 2});
    fs::create_directories(home.paths.supportDir);
  }
  std::vector<std::string> log() { return logMessages(home.paths.logFile); }
  ~Machine() { EXPECT_EQ(sanitizerReports(home.paths.logFile), std::vector<std::string>{}); }
  TempHome home;
  sim::Mac mac;
};

// Trackpad frames, trackpad and mouse motion and wheel events, as fast as
// the helper answers, until stopped.
class EventFlow {
 public:
  explicit EventFlow(const fs::path& simRoot)
      : thread_([this, simRoot] {
          Control control(simRoot);
          double t = 1;
          for (int i = 0; !stop_; ++i) {
            const double x = 0.2 + (i % 100) * 0.005;
            const json frame = {{"cmd", "frame"},
                                {"trackpad", 1},
                                {"time", t += 0.008},
                                {"fingers", {{{"id", 1}, {"x", x}, {"y", 0.5}}}}};
            const json requests[] = {
                frame,
                {{"cmd", "event"}, {"type", 5}, {"fields", {{"7", 3}}}},
                {{"cmd", "hid"}, {"device", 2}, {"usage", 48}, {"value", (i % 7) - 3}},
                {{"cmd", "event"}, {"type", 5}, {"fields", {{"4", 1}}}},
                {{"cmd", "event"}, {"type", 22}, {"fields", {{"11", 1}, {"96", 10}}}},
            };
            for (const json& r : requests)
              if (control.send(r.dump()).find("\"ok\":true") == std::string::npos) ++failures_;
            // The simulated Mac keeps a record of every event it passes;
            // dropped here so that only the helper's own memory is measured.
            if (i % 50 == 0) control.send(R"({"cmd":"records","kind":"none","clear":true})");
            ++rounds_;
          }
        }) {}
  ~EventFlow() { stop(); }
  void stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  int rounds() const { return rounds_; }
  int failures() const { return failures_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> rounds_{0};
  std::atomic<int> failures_{0};
  std::thread thread_;
};

// ext4 flushes a file truncated and written again when it is closed (some
// milliseconds each); in memory the writes come as fast as renames do.
fs::path inMemoryIfPossible() {
  std::error_code ignored;
  return fs::is_directory("/dev/shm", ignored) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

void rewriteWhileEventsFlow(void (*write)(const fs::path&, const std::string&), bool atomic) {
  const std::vector<std::string> configs = variants();
  const std::vector<std::string> expected = referenceLines(configs);
  ASSERT_EQ(expected.size(), configs.size());
  std::set<std::string> allowed(expected.begin(), expected.end());
  allowed.insert(kDefaultSettings);
  ASSERT_EQ(allowed.size(), configs.size() + 1);

  Machine m(atomic ? fs::temp_directory_path() : inMemoryIfPossible());
  HelperProcess helper(m.home);
  ASSERT_TRUE(waitForMessage(m.home.paths.logFile, "running", kEventually));
  EventFlow events(m.home.simRoot);

  long rssWarm = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRewrites; ++i) {
    write(m.home.paths.configFile, configs[static_cast<size_t>(i) % configs.size()]);
    // A writer never quite as fast as the helper, so the two interleave.
    if (!atomic) std::this_thread::sleep_for(std::chrono::microseconds(100));
    if (i == 500) rssWarm = helper.rssKB();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  // The last file stays: it is what the helper ends up with. Written once
  // more after a pause, so that its date is surely new.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const size_t last = static_cast<size_t>(kRewrites - 1) % configs.size();
  writeRenamed(m.home.paths.configFile, configs[last]);
  EXPECT_TRUE(waitUntil(
      [&] {
        const std::vector<std::string> log = m.log();
        return !log.empty() && log.back() == expected[last];
      },
      kEventually));
  const long rssEnd = helper.rssKB();
  events.stop();

  EXPECT_FALSE(helper.waitExit(0)) << "the helper ended";
  EXPECT_EQ(events.failures(), 0);
  size_t settings = 0, unreadable = 0;
  const std::vector<std::string> log = m.log();
  for (size_t i = 0; i < log.size(); ++i) {
    if (log[i].rfind("settings: ", 0) == 0) {
      ++settings;
      EXPECT_TRUE(allowed.count(log[i])) << "not a written configuration: " << log[i];
    } else if (log[i].rfind("config.json unreadable, using defaults: ", 0) == 0) {
      ++unreadable;
      ASSERT_LT(i + 1, log.size());
      EXPECT_EQ(log[i + 1], kDefaultSettings);
    }
  }
  if (atomic) {
    EXPECT_EQ(unreadable, 0u);
  }
  std::cout << (atomic ? "renames" : "in-place writes") << ": " << kRewrites << " in " << seconds
            << " s, " << settings << " applied, " << unreadable << " unreadable, "
            << events.rounds() << " event rounds; VmRSS " << rssWarm << " kB after 500, " << rssEnd
            << " kB at the end\n";
  EXPECT_LT(rssEnd - rssWarm, 1024) << "memory grew";
}

TEST(Reliability, TenThousandRenamedConfigsWhileEventsFlow) {
  rewriteWhileEventsFlow(writeRenamed, true);
}

TEST(Reliability, TenThousandInPlaceRewritesNeverApplyAMixture) {
  rewriteWhileEventsFlow(writeInPlace, false);
}

TEST(Reliability, HostileConfigFilesGiveDefaultsOnceWithoutHanging) {
  Machine m;
  const std::string valid = variants()[1];
  const fs::path config = m.home.paths.configFile;
  struct Case {
    const char* name;
    std::function<void()> make;
    const char* reason;
  };
  const Case cases[] = {
      {"folder", [&] { fs::create_directory(config); }, "not a regular file"},
      {"symlink loop",
       [&] {
         fs::create_symlink(config.parent_path() / "b.json", config);
         fs::create_symlink(config, config.parent_path() / "b.json");
       },
       "Too many levels of symbolic links"},
      {"100 MB",
       [&] {
         const fs::path temp = config.parent_path() / "big.tmp";
         std::ofstream(temp) << valid;
         fs::resize_file(temp, 100'000'000);
         fs::rename(temp, config);
       },
       "larger than"},
      {"not UTF-8", [&] { writeRenamed(config, "{\"trackpad\":\"\xFF\xFE\"}"); },
       "the file is not UTF-8 text"},
  };

  HelperProcess helper(m.home);
  ASSERT_TRUE(waitForMessage(m.home.paths.logFile, "running", kEventually));
  Control control(m.home.simRoot);
  const long rssBefore = helper.rssKB();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    size_t from = m.log().size();
    writeRenamed(config, valid);
    ASSERT_TRUE(
        waitForMessage(m.home.paths.logFile, "settings: trackpad: custom", kEventually, from));

    from = m.log().size();
    fs::remove(config);
    c.make();
    const auto line = waitForMessage(m.home.paths.logFile,
                                     "config.json unreadable, using defaults: ", kEventually, from);
    ASSERT_TRUE(line);
    ASSERT_TRUE(waitForMessage(m.home.paths.logFile, "settings: ", kEventually, *line + 1));
    // Then nothing more: a pause that can only miss a repeated line, never
    // fail on a slow machine.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::vector<std::string> log = m.log();
    EXPECT_NE(log[*line].find(c.reason), std::string::npos) << log[*line];
    // The removal may show the defaults first; after the file, one line each.
    ASSERT_EQ(log.size(), *line + 2);
    EXPECT_EQ(log[*line + 1], kDefaultSettings);
    EXPECT_NE(control.send(R"({"cmd":"ping"})").find("\"ok\":true"), std::string::npos);

    std::error_code ignored;
    fs::remove(config.parent_path() / "b.json", ignored);
    fs::remove_all(config, ignored);
  }
  EXPECT_FALSE(helper.waitExit(0));
  EXPECT_LT(helper.rssKB() - rssBefore, 20'000) << "a large file was read";
}

TEST(Reliability, SupportFolderDeletedAndMadeAgainKeepsApplyingChanges) {
  Machine m;
  const std::vector<std::string> configs = variants();
  const std::vector<std::string> expected = referenceLines(configs);
  HelperProcess helper(m.home);
  ASSERT_TRUE(waitForMessage(m.home.paths.logFile, "running", kEventually));
  for (size_t cycle = 0; cycle < 2; ++cycle) {
    SCOPED_TRACE(cycle);
    fs::remove_all(m.home.paths.supportDir);
    if (cycle == 1) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    fs::create_directories(m.home.paths.supportDir);
    writeRenamed(m.home.paths.configFile, configs[cycle]);
    // Through the watch moved to the new folder when the helper saw the old
    // one go after the new one came; otherwise at the next five-second tick.
    EXPECT_TRUE(waitForMessage(m.home.paths.logFile, expected[cycle], kEventually));
    // Watched again from then on.
    writeRenamed(m.home.paths.configFile, configs[cycle + 10]);
    EXPECT_TRUE(waitForMessage(m.home.paths.logFile, expected[cycle + 10], kBeforeTheTimer));
  }
  EXPECT_FALSE(helper.waitExit(0));
}

}  // namespace
}  // namespace quillon::testing
