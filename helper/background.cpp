#include "helper/background.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

#include "common/dismiss_prompt.h"
#include "helper/config_watch.h"
#include "helper/contacts.h"
#include "helper/log.h"
#include "helper/mouse_hid.h"
#include "helper/reload.h"
#include "helper/status.h"
#include "helper/tap.h"

namespace quillon {

namespace {

using platform::RunLoop;

constexpr double kAccessibilityLimitSeconds = 600;
constexpr double kInputMonitoringPollSeconds = 1;
constexpr int kInputMonitoringPollTicks = 60;
constexpr double kHousekeepingSeconds = 5;
constexpr const char* kAskedAccessibilityMarker = ".asked-accessibility";

// The run ends itself from inside a timer: the status is kept and the run
// loop stopped, so that runBackground() returns it from the top.
void endRun(HelperState& state, int status) {
  state.main.exitStatus = status;
  state.system.runLoop.stop();
}

// False when the permission did not come in time.
bool waitForAccessibility(HelperState& state) {
  platform::System& sys = state.system;
  logLine(
      "waiting for Accessibility permission (System Settings > Privacy & Security > "
      "Accessibility > Quillon Helper)");
  writeStatus(state);

  const std::filesystem::path marker = state.paths.supportDir / kAskedAccessibilityMarker;
  std::error_code ignored;
  if (!std::filesystem::exists(marker, ignored)) {
    sys.accessibility.isTrusted(true);  // shows the system's prompt, once per user
    std::filesystem::create_directories(state.paths.supportDir, ignored);
    std::ofstream{marker};
  }

  const double start = sys.clock.uptime();
  while (!accessibilityAllowed(sys)) {
    sys.clock.sleep(1);
    if (sys.clock.uptime() - start > kAccessibilityLimitSeconds) {
      return false;
    }
  }
  logLine("Accessibility permission granted");
  dismissAccessibilityPrompt(sys.workspace, sys.runLoop);
  return true;
}

// What the run registers with the system: the trackpads' frames, the mouse
// reader, timers, observers and the tap. All of it is undone when the run
// returns, however it ends, so that no callback of any thread calls into a
// state that is gone: the contact thread's frames first, as they come on
// their own.
struct Registrations {
  explicit Registrations(HelperState& s) : state(s) {}
  ~Registrations() {
    platform::System& sys = state.system;
    stopMultitouch(state);
    for (RunLoop::TimerId id : timers) {
      sys.runLoop.cancelTimer(id);
    }
    if (state.main.hidManager != nullptr) {
      sys.hid.close(state.main.hidManager);
      state.main.hidManager = nullptr;
    }
    sys.workspace.setWakeObserver({});
    sys.displays.setReconfigurationCallback({});
    state.main.configWatcher.reset();
    if (state.main.tapPort != nullptr) {
      sys.taps.invalidate(state.main.tapPort);
      state.main.tapPort = nullptr;
    }
  }
  Registrations(const Registrations&) = delete;
  Registrations& operator=(const Registrations&) = delete;

  HelperState& state;
  std::vector<RunLoop::TimerId> timers;
};

// Input Monitoring refused at start: the permission may come while we run.
void startInputMonitoringPoll(HelperState& state, Registrations& registrations) {
  auto ticks = std::make_shared<int>(0);
  auto id = std::make_shared<RunLoop::TimerId>();
  *id = state.system.runLoop.addTimer(kInputMonitoringPollSeconds, true, [&state, ticks, id] {
    MainState& main = state.main;
    if (main.exitStatus || !main.hidOpenFailed) {
      return;
    }
    ++*ticks;
    if (main.hidManager && state.system.hid.open(main.hidManager)) {
      main.hidOpenFailed = false;
      logLine("Input Monitoring allowed: reading the mouse directly");
      writeStatus(state);
      state.system.runLoop.cancelTimer(*id);
    } else if (state.system.hid.listenEventAccessGranted()) {
      // The manager stays refused for the life of this process; a new one
      // started by the launcher opens it.
      writeStatus(state);
      logLine("Input Monitoring allowed: restarting to read the mouse directly");
      endRun(state, 1);
    } else if (*ticks >= kInputMonitoringPollTicks) {
      state.system.runLoop.cancelTimer(*id);
    }
  });
  registrations.timers.push_back(*id);
}

void housekeeping(HelperState& state) {
  MainState& main = state.main;
  if (main.exitStatus) {
    return;
  }
  keepConfigWatch(state);
  reloadConfig(state, false);
  const int count = multitouchDeviceCount(state);
  if (count != main.multitouchCount) {
    main.multitouchCount = count;
    startMultitouch(state, false);
  }
  writeStatus(state);
  if (main.hidOpenFailed && state.system.hid.listenEventAccessGranted()) {
    logLine("Input Monitoring allowed: restarting to read the mouse directly");
    endRun(state, 1);
  }
}

}  // namespace

int runBackground(HelperState& state) {
  platform::System& sys = state.system;
  MainState& main = state.main;
  main.exitStatus.reset();

  logLine("starting");
  if (!sys.accessibility.isTrusted(false) && !waitForAccessibility(state)) {
    return 1;
  }

  reloadConfig(state, true);
  Registrations registrations(state);
  if (!startMultitouch(state, false)) {
    logLine("no trackpad found; trackpad left to macOS");
  }
  startMouseHID(state);
  writeStatus(state);

  if (main.hidOpenFailed) {
    startInputMonitoringPoll(state, registrations);
  }
  sys.workspace.setWakeObserver([&state] {
    startMultitouch(state, true);
    logLine("woke up: reconnected to trackpads");
    writeStatus(state);
  });
  watchConfigFolder(state);
  main.multitouchCount = multitouchDeviceCount(state);
  registrations.timers.push_back(
      sys.runLoop.addTimer(kHousekeepingSeconds, true, [&state] { housekeeping(state); }));
  sys.displays.setReconfigurationCallback(
      [&state](bool beginning) { onDisplayReconfiguration(state, beginning); });

  if (!startTap(state)) {
    logLine("could not start (event tap refused)");
    return 1;
  }
  logLine("running");
  sys.runLoop.run();
  return main.exitStatus.value_or(0);
}

}  // namespace quillon
