#pragma once

#include <map>

#include "quillon/platform/clock.h"
#include "quillon/platform/system_services.h"

namespace quillon::platform::macos {

class CFGlobalPreferences final : public Preferences {
 public:
  std::optional<PrefValue> globalValue(const std::string& key) override;
  void setGlobalValue(const std::string& key, const std::optional<PrefValue>& value) override;
};

class AXAccessibility final : public Accessibility {
 public:
  bool isTrusted(bool prompt) override;
};

class AppKitWorkspace final : public Workspace {
 public:
  ~AppKitWorkspace() override;
  std::vector<RunningApp> runningApplications(const std::string& bundleIdentifier) override;
  void terminate(int pid) override;
  void forceTerminate(int pid) override;
  void setWakeObserver(std::function<void()> onWake) override;

 private:
  void* observer_ = nullptr;  // the notification center's token
};

class CFMainRunLoop final : public RunLoop {
 public:
  CFMainRunLoop() = default;
  ~CFMainRunLoop() override;  // invalidates the timers still scheduled
  CFMainRunLoop(const CFMainRunLoop&) = delete;
  CFMainRunLoop& operator=(const CFMainRunLoop&) = delete;

  TimerId addTimer(double intervalSeconds, bool repeats, std::function<void()> fire) override;
  void cancelTimer(TimerId id) override;
  void after(double delaySeconds, std::function<void()> work) override;
  void run() override;
  void stop() override;

 private:
  std::map<TimerId, void*> timers_;  // CFRunLoopTimerRef by id
  TimerId next_ = 1;
};

class DispatchFolderWatcher final : public FolderWatcher {
 public:
  std::unique_ptr<Watch> watch(const std::string& folder, std::function<void()> onEvent) override;
};

class UptimeClock final : public Clock {
 public:
  double uptime() override;
  void sleep(double seconds) override;
};

}  // namespace quillon::platform::macos
