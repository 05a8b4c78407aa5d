#include "sim/sim_services.h"

#include <time.h>

#include <algorithm>
#include <cmath>

#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;

double RealClock::uptime() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void RealClock::sleep(double seconds) {
  if (!(seconds > 0)) return;
  double whole = std::floor(seconds);
  timespec ts{static_cast<time_t>(whole), static_cast<long>((seconds - whole) * 1e9)};
  while (nanosleep(&ts, &ts) != 0) {
  }
}

std::vector<platform::DisplayDescription> SimDisplays::activeDisplays() {
  return readDisplays(folder_);
}

void SimDisplays::setReconfigurationCallback(ReconfigurationCallback callback) {
  std::lock_guard g(mutex_);
  callback_ = std::move(callback);
}

void SimDisplays::reconfigured() {
  ReconfigurationCallback cb;
  {
    std::lock_guard g(mutex_);
    cb = callback_;
  }
  if (!cb) return;
  cb(true);
  cb(false);
}

std::optional<platform::PrefValue> SimPreferences::globalValue(const std::string& key) {
  auto prefs = readPreferences(folder_);
  auto it = prefs.find(key);
  if (it == prefs.end()) return std::nullopt;
  return it->second;
}

void SimPreferences::setGlobalValue(const std::string& key,
                                    const std::optional<platform::PrefValue>& value) {
  folder_.update(files::kPreferences, [&](std::optional<json>& file) {
    PreferenceMap prefs;
    if (file) prefs = readPreferences(folder_);
    if (value)
      prefs[key] = *value;
    else
      prefs.erase(key);
    file = preferencesJson(prefs);
  });
  recorder_.add("preference", {{"key", key}, {"value", value ? prefValueJson(*value) : json()}});
}

bool SimAccessibility::isTrusted(bool prompt) {
  bool trusted = readPermissions(folder_).accessibility;
  if (prompt) recorder_.add("accessibilityPrompt", {{"trusted", trusted}});
  if (prompt && !trusted) {
    // The system's prompt is an application of its own, shown once however
    // often it is asked for while it is open.
    updateApps(folder_, [&](AppList& list) {
      for (const auto& a : list.apps)
        if (a.bundleIdentifier == kAccessibilityPromptBundle) return;
      SimApp shown;
      shown.bundleIdentifier = kAccessibilityPromptBundle;
      list.addStandIn(shown);
    });
  }
  return trusted;
}

std::vector<platform::RunningApp> SimWorkspace::runningApplications(const std::string& bundleId) {
  std::vector<platform::RunningApp> out;
  for (const auto& a : readApps(folder_))
    if (a.bundleIdentifier == bundleId) out.push_back({a.pid, a.bundleIdentifier});
  return out;
}

void SimWorkspace::end(int pid, bool force) {
  bool ended = false;
  updateApps(folder_, [&](AppList& list) {
    ended = std::erase_if(list.apps, [&](const SimApp& a) {
              return a.pid == pid && (force || !a.ignoresTerminate);
            }) > 0;
  });
  recorder_.add(force ? "forceTerminate" : "terminate", {{"pid", pid}, {"ended", ended}});
}

void SimWorkspace::terminate(int pid) {
  end(pid, false);
}
void SimWorkspace::forceTerminate(int pid) {
  end(pid, true);
}

void SimWorkspace::setWakeObserver(std::function<void()> onWake) {
  std::lock_guard g(mutex_);
  onWake_ = std::move(onWake);
}

std::function<void()> SimWorkspace::wakeObserver() {
  std::lock_guard g(mutex_);
  return onWake_;
}

int SimWorkspace::launch(const std::string& bundleId, bool ignoresTerminate) {
  int pid = 0;
  updateApps(folder_, [&](AppList& list) {
    SimApp app;
    app.bundleIdentifier = bundleId;
    app.ignoresTerminate = ignoresTerminate;
    pid = list.addStandIn(app);
  });
  return pid;
}

}  // namespace quillon::sim
