// The background run in process: a simulated Mac with a manual clock, the log
// on a temporary file.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "background_support.h"
#include "common/atomic_file.h"
#include "common/paths.h"
#include "common/utf8.h"
#include "helper/background.h"
#include "helper/config_watch.h"
#include "helper/errors.h"
#include "helper/format.h"
#include "helper/log.h"
#include "helper/reload.h"
#include "helper/state.h"
#include "helper/status.h"
#include "sim/sim_mac.h"

namespace quillon::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDefaultSettings =
    "settings: trackpad: macOS | mouse: macOS | natural scrolling trackpad on, mouse off "
    "(macOS: on) | scroll acceleration trackpad on, mouse on | scroll speed trackpad 1.00×, "
    "mouse 1.00×";

// --- status.json ---

TEST_F(Background, StatusIsOneExactLineWrittenOnlyWhenItChanges) {
  const std::string pid = std::to_string(::getpid());
  mac_.setAccessibility(false);
  writeStatus(state());
  EXPECT_EQ(readWhole(paths().statusFile),
            R"({"accessibility":false,"inputMonitoring":true,"trackpad":false,"pid":)" + pid + "}");

  // Unchanged text: not written again (a deleted file stays deleted).
  fs::remove(paths().statusFile);
  writeStatus(state());
  EXPECT_FALSE(fs::exists(paths().statusFile));

  state().main.padIDs.push_back(7);
  mac_.setAccessibility(true);
  writeStatus(state());
  EXPECT_EQ(readWhole(paths().statusFile),
            R"({"accessibility":true,"inputMonitoring":true,"trackpad":true,"pid":)" + pid + "}");
  // Only our one file in the folder: the temporary file was renamed away.
  EXPECT_EQ(std::distance(fs::directory_iterator(paths().supportDir), fs::directory_iterator()), 1);
}

TEST_F(Background, StatusInputMonitoringIsFalseOnlyWhileRefusedAndNotGranted) {
  state().main.hidOpenFailed = true;
  mac_.setInputMonitoring(false);
  writeStatus(state());
  EXPECT_NE(readWhole(paths().statusFile).find(R"("inputMonitoring":false)"), std::string::npos);
  mac_.setInputMonitoring(true);
  writeStatus(state());
  EXPECT_NE(readWhole(paths().statusFile).find(R"("inputMonitoring":true)"), std::string::npos);
}

TEST_F(Background, StatusWriteFailureIsNotRetriedUntilTheTextChanges) {
  // The support folder's place is taken by a file: nothing can be written.
  fs::create_directories(paths().supportDir.parent_path());
  std::ofstream(paths().supportDir) << "x";
  writeStatus(state());
  fs::remove(paths().supportDir);
  writeStatus(state());
  EXPECT_FALSE(fs::exists(paths().statusFile));
  state().main.padIDs.push_back(1);
  writeStatus(state());
  EXPECT_TRUE(fs::exists(paths().statusFile));
}

// Accessibility can be withdrawn while the helper runs: each status write,
// every 5 s and on wake, looks at it again.
TEST_F(Background, StatusFollowsAccessibilityWhileTheHelperRuns) {
  auto accessibility = [&] {
    const std::string status = readWhole(paths().statusFile);
    return status.find(R"({"accessibility":true,)") == 0    ? std::optional(true)
           : status.find(R"({"accessibility":false,)") == 0 ? std::optional(false)
                                                            : std::nullopt;
  };
  mac_.runLoop().after(0, [&] {
    EXPECT_EQ(accessibility(), true);
    mac_.setAccessibility(false);
    mac_.runLoop().advance(4.9);
    EXPECT_EQ(accessibility(), true);  // nothing looks before the next write
    mac_.runLoop().advance(0.2);
    EXPECT_EQ(accessibility(), false);

    mac_.setAccessibility(true);
    mac_.wake();
    EXPECT_EQ(accessibility(), true);
    mac_.runLoop().stop();
  });
  EXPECT_EQ(runBackground(state()), 0);
}

// The system may be late to call the helper trusted; a tap it allows counts.
TEST_F(Background, StatusCountsAnAllowedTapAsAccessibilityWhileTrustLags) {
  struct Lagging : platform::Accessibility {
    bool isTrusted(bool) override { return false; }
  } lagging;
  const platform::System& base = mac_.system();
  platform::System sys{base.displays,   base.taps,    base.cursor,      base.clock,
                       base.multitouch, base.hid,     base.preferences, lagging,
                       base.workspace,  base.runLoop, base.folders};
  state_ = std::make_unique<HelperState>(sys, Paths::forHome(home_));
  for (bool allowed : {true, false}) {
    mac_.setAccessibility(allowed);
    writeStatus(state());
    EXPECT_EQ(readWhole(paths().statusFile)
                  .find(allowed ? R"({"accessibility":true,)" : R"({"accessibility":false,)"),
              0u)
        << allowed;
  }
  EXPECT_EQ(mac_.records("tapCreated").size(), mac_.records("tapInvalidated").size());
}

TEST_F(Background, StatusNeverMakesTheSupportFolderAgainOnceRemovedUnderIt) {
  writeStatus(state());
  ASSERT_TRUE(fs::exists(paths().statusFile));
  // The uninstall removes the folder while this helper still runs.
  fs::remove_all(paths().supportDir);
  state().main.padIDs.push_back(1);
  writeStatus(state());
  EXPECT_FALSE(fs::exists(paths().supportDir));
  // Made again by someone else (a new install): written there once more.
  fs::create_directories(paths().supportDir);
  writeStatus(state());
  EXPECT_TRUE(fs::exists(paths().statusFile));
}

// --- reloadConfig ---

TEST_F(Background, ReloadAppliesOnlyWhenTheFileChangesAndAlwaysWhenForced) {
  reloadConfig(state(), true);  // no file: defaults, no complaint
  EXPECT_EQ(newLogLines(), std::vector<std::string>{kDefaultSettings});

  reloadConfig(state(), false);  // both dates absent
  EXPECT_TRUE(newLogLines().empty());

  const std::string custom = configText(device("custom"), device("mac", R"(,"dpi":800)"));
  writeConfig(custom);
  reloadConfig(state(), false);
  ASSERT_EQ(newLogLines().size(), 1u);
  EXPECT_TRUE(state().shared.trackpadCurve);
  EXPECT_EQ(state().shared.mouseCPMM, 800 / 25.4);

  reloadConfig(state(), false);  // a folder event with the file unchanged
  EXPECT_TRUE(newLogLines().empty());
  reloadConfig(state(), true);
  EXPECT_EQ(newLogLines().size(), 1u);

  // The same text again, renamed in place within the same clock tick.
  writeConfig(custom);
  reloadConfig(state(), false);
  EXPECT_EQ(newLogLines().size(), 1u);

  fs::remove(paths().configFile);
  reloadConfig(state(), false);
  EXPECT_EQ(newLogLines(), std::vector<std::string>{kDefaultSettings});
  EXPECT_EQ(applied(), Config{});
  EXPECT_FALSE(state().shared.trackpadCurve);
}

TEST_F(Background, SettingsLineNamesEveryAppliedValue) {
  writeConfig(configText(device("mac", R"(,"natural":false,"scrollSpeed":0)"),
                         device("mac", R"(,"scrollAccelOff":true,"scrollSpeed":2.5,"dpi":20)")));
  mac_.setGlobalPreference("com.apple.swipescrolldirection", false);
  reloadConfig(state(), true);
  EXPECT_EQ(newLogLines(),
            std::vector<std::string>{
                "settings: trackpad: macOS | mouse: macOS | natural scrolling trackpad off, mouse "
                "on (macOS: off) | scroll acceleration trackpad on, mouse off | scroll speed "
                "trackpad 1.00×, mouse 2.50×"});
  std::lock_guard<FastLock> guard(state().lock);
  EXPECT_EQ(state().shared.trackpadScroll, (ScrollPrefs{false, false, 1}));
  EXPECT_EQ(state().shared.mouseScroll, (ScrollPrefs{true, true, 2.5}));
  EXPECT_EQ(state().shared.mouseCPMM, 50 / 25.4);
}

std::vector<std::string> splitParts(const std::string& text) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (size_t at; (at = text.find(" | ", from)) != std::string::npos; from = at + 3)
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

TEST_F(Background, SettingsLineStaysWholeWithExtremeFiniteValues) {
  constexpr double kMax = std::numeric_limits<double>::max();
  constexpr double kTiny = std::numeric_limits<double>::denorm_min();
  const char* const kNumericKeys[] = {"speed", "dpi",         "winDpi",    "accel", "winSpeed",
                                      "scale", "scrollSpeed", "threshold", "shape", "maxBoost"};
  for (const char* mode : {"custom", "windows"}) {
    // 2e68: a 96-byte buffer would keep the first byte of the first "×".
    for (const double value : {kMax, -kMax, 1e70, 2e68, kTiny, -kTiny}) {
      const std::string number = shortestDecimal(value);
      SCOPED_TRACE(std::string(mode) + " " + number);
      std::string record = R"({"mode":")" + std::string(mode) + R"(","natural":true)";
      for (const char* key : kNumericKeys) record += ",\"" + std::string(key) + "\":" + number;
      record += "}";
      writeConfig(configText(record, record));
      reloadConfig(state(), true);
      ASSERT_EQ(applied().mouse.scrollSpeed, value);  // the file was applied as written

      std::vector<std::string> settings;
      for (const std::string& line : newLogLines()) {
        EXPECT_TRUE(isUTF8(line)) << line;
        if (line.rfind("settings: ", 0) == 0) settings.push_back(line.substr(10));
      }
      ASSERT_EQ(settings.size(), 1u);
      const std::vector<std::string> parts = splitParts(settings[0]);
      ASSERT_EQ(parts.size(), 5u) << settings[0];
      std::lock_guard<FastLock> guard(state().lock);
      const Guarded& g = state().shared;
      EXPECT_EQ(parts[0], g.trackpadCurve ? g.trackpadCurve->summary : "trackpad: macOS");
      EXPECT_EQ(parts[1], g.mouseCurve ? g.mouseCurve->summary : "mouse: macOS");
      EXPECT_EQ(parts[2], "natural scrolling trackpad on, mouse on (macOS: on)");
      EXPECT_EQ(parts[3], "scroll acceleration trackpad on, mouse on");
      const std::string speed = formatC("%.2f", value > 0 ? value : 1);
      EXPECT_EQ(parts[4], std::string("scroll speed trackpad ")
                              .append(speed)
                              .append("×, mouse ")
                              .append(speed)
                              .append("×"));
    }
  }
}

TEST_F(Background, NaturalScrollingIsReadOnEveryReloadWithoutALogLine) {
  reloadConfig(state(), true);
  newLogLines();
  EXPECT_TRUE(state().main.globalNatural);
  mac_.setGlobalPreference("com.apple.swipescrolldirection", false);
  reloadConfig(state(), false);
  EXPECT_FALSE(state().main.globalNatural);
  mac_.setGlobalPreference("com.apple.swipescrolldirection", std::string("yes"));  // not a boolean
  reloadConfig(state(), false);
  EXPECT_TRUE(state().main.globalNatural);
  EXPECT_TRUE(newLogLines().empty());
}

// Each of these is there but is no configuration: the previous (custom)
// configuration gives way to the defaults, with one line saying why.
struct Unusable {
  const char* name;
  void (*make)(const fs::path& config);
  const char* reason;  // the start of what follows "using defaults: "
};

const Unusable kUnusable[] = {
    {"undecodable",
     [](const fs::path& p) {
       std::ofstream(p) << configText(device("custom", R"(,"natural":1)"), device("mac"));
     },
     ""},
    {"truncated", [](const fs::path& p) { std::ofstream(p) << R"({"trackpad":{"mode":"cus)"; }, ""},
    {"folder", [](const fs::path& p) { fs::create_directory(p); }, "not a regular file"},
    {"too large",
     [](const fs::path& p) {
       std::ofstream(p) << configText(device("custom"), device("mac"));
       fs::resize_file(p, 100'000'000);  // sparse: nothing of it is read
     },
     "larger than 1048576 bytes"},
    // Valid UTF-8, but the decoder's quote stops inside the "×".
    {"a multibyte character where a value belongs",
     [](const fs::path& p) { std::ofstream(p) << "{\"trackpad\": \xC3\x97}"; },
     "parse error at line 1, column 14: syntax error while parsing value - invalid literal; "
     "last read: '\"trackpad\": \xEF\xBF\xBD'"},
    {"not UTF-8",
     [](const fs::path& p) {
       std::ofstream(p) << configText(device("custom", ",\"comment\":\"caf\xE9\""), device("mac"));
     },
     "the file is not UTF-8 text"},
    {"symlink loop",
     [](const fs::path& p) {
       fs::create_symlink(p.parent_path() / "other.json", p);
       fs::create_symlink(p, p.parent_path() / "other.json");
     },
     "Too many levels of symbolic links"},
};

TEST_F(Background, UnusableConfigGivesDefaultsAndOneLine) {
  for (const Unusable& u : kUnusable) {
    SCOPED_TRACE(u.name);
    writeConfig(configText(device("custom"), device("custom")));
    reloadConfig(state(), true);
    ASSERT_TRUE(state().shared.mouseCurve);
    newLogLines();

    fs::remove(paths().configFile);
    u.make(paths().configFile);
    reloadConfig(state(), false);
    const std::vector<std::string> lines = newLogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind(std::string("config.json unreadable, using defaults: ") + u.reason, 0),
              0u)
        << lines[0];
    EXPECT_TRUE(isUTF8(lines[0])) << lines[0];
    EXPECT_EQ(lines[1], kDefaultSettings);
    EXPECT_EQ(applied(), Config{});
    EXPECT_FALSE(state().shared.mouseCurve);
    EXPECT_FALSE(state().main.mouseActive);

    std::error_code ignored;
    fs::remove(paths().supportDir / "other.json", ignored);
    fs::remove_all(paths().configFile, ignored);
  }
}

TEST_F(Background, ASymlinkLoopWhereNoFileWasIsAChange) {
  fs::create_directories(paths().supportDir);
  reloadConfig(state(), true);
  newLogLines();
  fs::create_symlink(paths().supportDir / "other.json", paths().configFile);
  reloadConfig(state(), false);  // dangling: still no file, nothing to apply
  EXPECT_TRUE(newLogLines().empty());
  fs::create_symlink(paths().configFile, paths().supportDir / "other.json");
  reloadConfig(state(), false);
  const std::vector<std::string> lines = newLogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "config.json unreadable, using defaults: Too many levels of symbolic links");
}

TEST_F(Background, ACurveThatCannotBeBuiltLeavesOnlyThatDeviceToMacOS) {
  writeConfig(configText(device("custom"), device("custom")));
  auto failMouse = [](const DeviceConfig& c, Device d) -> std::optional<Curve> {
    if (d == Device::mouse) fail("The Windows file has no curve points");
    return makeCurve(c, d, std::nullopt);
  };
  reloadConfig(state(), true, failMouse);
  const std::vector<std::string> lines = newLogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "The Windows file has no curve points; mouse left to macOS");
  EXPECT_NE(lines[1].find(" | mouse: macOS | "), std::string::npos);
  EXPECT_TRUE(state().shared.trackpadCurve);
  EXPECT_FALSE(state().shared.mouseCurve);
  EXPECT_FALSE(state().main.mouseActive);
}

TEST_F(Background, ReplacedCurvesAreFreedOnceNobodyElseHoldsThem) {
  std::shared_ptr<const Curve> heldByContactThread;
  for (int i = 0; i < 20; ++i) {
    writeConfig(configText(device("custom", ",\"threshold\":" + std::to_string(i)), device("mac")));
    reloadConfig(state(), false);
    if (i == 3) heldByContactThread = state().shared.trackpadCurve;
  }
  ASSERT_EQ(state().main.retiredCurves.size(), 1u);
  EXPECT_EQ(state().main.retiredCurves[0], heldByContactThread);
  heldByContactThread.reset();
  writeConfig(configText(device("mac"), device("mac")));
  reloadConfig(state(), false);
  EXPECT_TRUE(state().main.retiredCurves.empty());
}

// --- the watcher ---

// Runs the loop (real time) until `done` or one second has passed.
bool pumpUntil(sim::Mac& mac, const std::function<bool()>& done) {
  for (int i = 0; i < 100; ++i) {
    if (done()) return true;
    mac.runLoop().runFor(0.01);
  }
  return done();
}

TEST_F(Background, WatcherAppliesChangesAndRecoversWhenTheFolderIsMadeAgain) {
  watchConfigFolder(state());  // no folder yet: no watcher
  EXPECT_FALSE(state().main.configWatcher);
  fs::create_directories(paths().supportDir);
  watchConfigFolder(state());
  ASSERT_TRUE(state().main.configWatcher);
  reloadConfig(state(), true);
  newLogLines();

  auto withMouseScroll = [](const char* speed) {
    return configText(device("mac"), device("mac", std::string(",\"scrollSpeed\":") + speed));
  };
  auto applied = [&](const char* shown) {
    return [this, shown] {
      for (const std::string& line : newLogLines())
        if (line.find(shown) != std::string::npos) return true;
      return false;
    };
  };

  writeConfig(withMouseScroll("1.5"));
  EXPECT_TRUE(pumpUntil(mac_, applied("mouse 1.50×")));

  // Deleted: the defaults, and the watch on the dead folder is dropped.
  fs::remove_all(paths().supportDir);
  EXPECT_TRUE(pumpUntil(mac_, applied("mouse 1.00×")));
  EXPECT_TRUE(pumpUntil(mac_, [&] { return !state().main.configWatcher; }));
  EXPECT_TRUE(state().main.lastStatus.empty());  // the next status write makes the folder again

  // Made again: nothing watches it until the five-second timer looks.
  writeConfig(withMouseScroll("2"));
  EXPECT_FALSE(pumpUntil(mac_, applied("mouse 2.00×")));
  keepConfigWatch(state());
  EXPECT_TRUE(applied("mouse 2.00×")());
  EXPECT_TRUE(state().main.configWatcher);

  writeConfig(withMouseScroll("3"));
  EXPECT_TRUE(pumpUntil(mac_, applied("mouse 3.00×")));

  // Replaced between two turns of the loop: the event on the old folder
  // moves the watch to the new one at once.
  fs::remove_all(paths().supportDir);
  writeConfig(withMouseScroll("4"));
  EXPECT_TRUE(pumpUntil(mac_, applied("mouse 4.00×")));
  mac_.runLoop().runFor(0.05);
  EXPECT_TRUE(state().main.configWatcher);
  ASSERT_TRUE(state().main.configWatchFolder);
  EXPECT_EQ(state().main.configWatchFolder->inode, fileStamp(paths().supportDir)->inode);
  writeConfig(withMouseScroll("5"));
  EXPECT_TRUE(pumpUntil(mac_, applied("mouse 5.00×")));
}

// --- the run sequence ---

constexpr const char* kWaitingLine =
    "waiting for Accessibility permission (System Settings > Privacy & Security > Accessibility "
    "> Quillon Helper)";

TEST_F(Background, AccessibilityNeverGrantedEndsTheRunAfter600Seconds) {
  mac_.setAccessibility(false);
  const double start = mac_.system().clock.uptime();
  EXPECT_EQ(runBackground(state()), 1);
  const double waited = mac_.system().clock.uptime() - start;
  EXPECT_GT(waited, 600);
  EXPECT_LE(waited, 602);
  EXPECT_EQ(newLogLines(), (std::vector<std::string>{"starting", kWaitingLine}));
  EXPECT_NE(readWhole(paths().statusFile).find(R"({"accessibility":false,)"), std::string::npos);
  EXPECT_TRUE(fs::exists(paths().supportDir / ".asked-accessibility"));
  EXPECT_EQ(mac_.records("accessibilityPrompt").size(), 1u);

  // A later run finds the marker and does not ask again.
  state_ = std::make_unique<HelperState>(mac_.system(), Paths::forHome(home_));
  EXPECT_EQ(runBackground(state()), 1);
  EXPECT_EQ(mac_.records("accessibilityPrompt").size(), 1u);
}

TEST_F(Background, AccessibilityGrantedWhileWaitingStartsTheRunAndClosesThePrompt) {
  mac_.setAccessibility(false);
  mac_.launchApp("com.apple.accessibility.universalAccessAuthWarn");
  const int stubborn = mac_.launchApp("com.apple.accessibility.universalAccessAuthWarn", true);
  int sleeps = 0;
  mac_.manualClock()->setSleepHook([&](double) {
    if (++sleeps == 3) mac_.setAccessibility(true);
  });
  mac_.runLoop().after(0, [&] {
    EXPECT_EQ(mac_.system()
                  .workspace.runningApplications("com.apple.accessibility.universalAccessAuthWarn")
                  .size(),
              1u);
    mac_.runLoop().advance(1);  // the forced termination, 0.7 s later
    mac_.runLoop().stop();
  });
  EXPECT_EQ(runBackground(state()), 0);
  EXPECT_EQ(sleeps, 3);

  const std::vector<std::string> lines = newLogLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[1], kWaitingLine);
  EXPECT_EQ(lines[2], "Accessibility permission granted");
  EXPECT_EQ(lines.back(), "running");
  EXPECT_EQ(mac_.records("terminate").size(), 2u);
  const std::vector<sim::Record> forced = mac_.records("forceTerminate");
  ASSERT_EQ(forced.size(), 1u);
  EXPECT_NE(forced[0].detail.find(std::to_string(stubborn)), std::string::npos);
  EXPECT_TRUE(mac_.system()
                  .workspace.runningApplications("com.apple.accessibility.universalAccessAuthWarn")
                  .empty());
}

TEST_F(Background, RunStartsInOrderAndKeepsUpWithTrackpadsAndWake) {
  mac_.connectTrackpad({.id = 1});
  writeConfig(configText(device("custom"), device("mac")));
  mac_.runLoop().after(0, [&] {
    std::vector<std::string> lines = newLogLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "starting");
    EXPECT_EQ(lines[1].rfind("settings: trackpad: custom", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("reading built-in trackpad", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3], "running");
    EXPECT_NE(readWhole(paths().statusFile).find(R"("trackpad":true)"), std::string::npos);

    // Status unchanged over a housekeeping tick: not rewritten.
    fs::remove(paths().statusFile);
    mac_.runLoop().advance(5);
    EXPECT_FALSE(fs::exists(paths().statusFile));

    // A second trackpad is noticed by the count of the next tick.
    mac_.connectTrackpad({.id = 2, .builtIn = false});
    mac_.runLoop().advance(5);
    lines = newLogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("reading trackpad", 0), 0u) << lines[0];

    mac_.wake();
    lines = newLogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "woke up: reconnected to trackpads");
    mac_.runLoop().stop();
  });
  EXPECT_EQ(runBackground(state()), 0);
  EXPECT_EQ(mac_.runLoop().timerCount(), 0u);  // nothing left behind
}

TEST_F(Background, NoTrackpadIsLoggedAndTheRunGoesOn) {
  mac_.runLoop().after(0, [&] { mac_.runLoop().stop(); });
  EXPECT_EQ(runBackground(state()), 0);
  const std::vector<std::string> lines = newLogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "no trackpad found; trackpad left to macOS"),
            lines.end());
  EXPECT_NE(readWhole(paths().statusFile).find(R"("trackpad":false)"), std::string::npos);
}

TEST_F(Background, InputMonitoringGrantedLaterOpensTheMouse) {
  mac_.setInputMonitoring(false);
  mac_.runLoop().after(0, [&] {
    EXPECT_NE(readWhole(paths().statusFile).find(R"("inputMonitoring":false)"), std::string::npos);
    mac_.runLoop().advance(3);
    newLogLines();
    mac_.setInputMonitoring(true);
    mac_.runLoop().advance(1);
    EXPECT_EQ(newLogLines(),
              std::vector<std::string>{"Input Monitoring allowed: reading the mouse directly"});
    EXPECT_FALSE(state().main.hidOpenFailed);
    EXPECT_NE(readWhole(paths().statusFile).find(R"("inputMonitoring":true)"), std::string::npos);
    mac_.runLoop().stop();
  });
  EXPECT_EQ(runBackground(state()), 0);
}

TEST_F(Background, InputMonitoringPollGivesUpAfterSixtyTicks) {
  mac_.setInputMonitoring(false);
  mac_.runLoop().after(0, [&] {
    const size_t timers = mac_.runLoop().timerCount();
    mac_.runLoop().advance(59.5);
    EXPECT_EQ(mac_.runLoop().timerCount(), timers);
    mac_.runLoop().advance(1);
    EXPECT_EQ(mac_.runLoop().timerCount(), timers - 1);
    mac_.runLoop().stop();
  });
  EXPECT_EQ(runBackground(state()), 0);
}

TEST_F(Background, InputMonitoringGrantedButMouseStillRefusedEndsTheRunForARestart) {
  RefusingHid hid(mac_.system().hid);
  platform::System sys = withHid(mac_.system(), hid);
  state_ = std::make_unique<HelperState>(sys, Paths::forHome(home_));
  mac_.setInputMonitoring(false);
  mac_.runLoop().after(0, [&] {
    mac_.runLoop().advance(2);
    newLogLines();
    mac_.setInputMonitoring(true);
    mac_.runLoop().advance(1);
  });
  EXPECT_EQ(runBackground(state()), 1);
  EXPECT_EQ(newLogLines(), std::vector<std::string>{
                               "Input Monitoring allowed: restarting to read the mouse directly"});
  EXPECT_NE(readWhole(paths().statusFile).find(R"("inputMonitoring":true)"), std::string::npos);
}

TEST_F(Background, WithoutAWatchTheFiveSecondTimerAppliesChanges) {
  NoFolderWatcher folders;
  platform::System sys = withFolders(mac_.system(), folders);
  state_ = std::make_unique<HelperState>(sys, Paths::forHome(home_));
  mac_.runLoop().after(0, [&] {
    newLogLines();
    writeConfig(configText(device("custom"), device("mac")));
    mac_.runLoop().advance(4.9);
    EXPECT_TRUE(newLogLines().empty());
    mac_.runLoop().advance(0.2);
    const std::vector<std::string> lines = newLogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("settings: trackpad: custom", 0), 0u);
    mac_.runLoop().stop();
  });
  EXPECT_EQ(runBackground(state()), 0);
}

TEST_F(Background, RefusedTapEndsTheRun) {
  NoFolderWatcher folders;
  folders.onWatch = [&] { mac_.setAccessibility(false); };  // revoked just before the tap
  platform::System sys = withFolders(mac_.system(), folders);
  state_ = std::make_unique<HelperState>(sys, Paths::forHome(home_));
  EXPECT_EQ(runBackground(state()), 1);
  EXPECT_EQ(newLogLines().back(), "could not start (event tap refused)");
  EXPECT_EQ(mac_.runLoop().timerCount(), 0u);
}

}  // namespace
}  // namespace quillon::test
