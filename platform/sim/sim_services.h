#pragma once

#include <functional>
#include <mutex>

#include "sim/sim_folder.h"
#include "sim/sim_mac.h"
#include "sim/sim_records.h"

namespace quillon::sim {

// CLOCK_MONOTONIC, which like the system uptime does not jump with the
// wall clock.
class RealClock : public platform::Clock {
 public:
  double uptime() override;
  void sleep(double seconds) override;
};

// displays.json; no file means no displays.
class SimDisplays : public platform::Displays {
 public:
  explicit SimDisplays(const SystemFolder& folder) : folder_(folder) {}
  std::vector<platform::DisplayDescription> activeDisplays() override;
  void setReconfigurationCallback(ReconfigurationCallback callback) override;
  // A reconfiguration as the system announces it: beginning, then done.
  void reconfigured();

 private:
  const SystemFolder& folder_;
  std::mutex mutex_;
  ReconfigurationCallback callback_;
};

// preferences.json, read on every call so that another process's change
// is seen at once.
class SimPreferences : public platform::Preferences {
 public:
  SimPreferences(const SystemFolder& folder, Recorder& recorder)
      : folder_(folder), recorder_(recorder) {}
  std::optional<platform::PrefValue> globalValue(const std::string& key) override;
  void setGlobalValue(const std::string& key,
                      const std::optional<platform::PrefValue>& value) override;

 private:
  const SystemFolder& folder_;
  Recorder& recorder_;
};

constexpr char kAccessibilityPromptBundle[] = "com.apple.accessibility.universalAccessAuthWarn";

// permissions.json. Asking with the prompt while not trusted opens the
// system's prompt, an application of its own (kAccessibilityPromptBundle).
class SimAccessibility : public platform::Accessibility {
 public:
  SimAccessibility(const SystemFolder& folder, Recorder& recorder)
      : folder_(folder), recorder_(recorder) {}
  bool isTrusted(bool prompt) override;

 private:
  const SystemFolder& folder_;
  Recorder& recorder_;
};

// apps.json. terminate() ends an app unless it ignores the request;
// forceTerminate() always does.
class SimWorkspace : public platform::Workspace {
 public:
  SimWorkspace(const SystemFolder& folder, Recorder& recorder)
      : folder_(folder), recorder_(recorder) {}
  std::vector<platform::RunningApp> runningApplications(const std::string& bundleId) override;
  void terminate(int pid) override;
  void forceTerminate(int pid) override;
  void setWakeObserver(std::function<void()> onWake) override;
  std::function<void()> wakeObserver();
  int launch(const std::string& bundleId, bool ignoresTerminate);

 private:
  void end(int pid, bool force);
  const SystemFolder& folder_;
  Recorder& recorder_;
  std::mutex mutex_;
  std::function<void()> onWake_;
};

}  // namespace quillon::sim
