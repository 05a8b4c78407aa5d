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
    folder_.update(files::kApps, [&](std::optional<json>& file) {
      auto apps = readApps(folder_);
      int pid = 1000;
      for (const auto& a : apps) {
        if (a.bundleIdentifier == kAccessibilityPromptBundle) return;
        pid = std::max(pid, a.pid + 1);
      }
      SimApp shown;
      shown.pid = pid;
      shown.bundleIdentifier = kAccessibilityPromptBundle;
      apps.push_back(shown);
      file = appsJson(apps);
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
  folder_.update(files::kApps, [&](std::optional<json>& file) {
    auto apps = readApps(folder_);
    auto before = apps.size();
    std::erase_if(apps,
                  [&](const SimApp& a) { return a.pid == pid && (force || !a.ignoresTerminate); });
    ended = apps.size() != before;
    if (file || !apps.empty()) file = appsJson(apps);
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
  folder_.update(files::kApps, [&](std::optional<json>& file) {
    auto apps = readApps(folder_);
    pid = 1000;
    for (const auto& a : apps) pid = std::max(pid, a.pid + 1);
    SimApp app;
    app.pid = pid;
    app.bundleIdentifier = bundleId;
    app.ignoresTerminate = ignoresTerminate;
    apps.push_back(app);
    file = appsJson(apps);
  });
  return pid;
}

}  // namespace quillon::sim
