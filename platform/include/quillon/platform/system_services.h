#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quillon::platform {

// A value of macOS's preferences as the core needs them.
using PrefValue = std::variant<bool, double, std::string>;

// CFPreferences on the global domain (any application, current user).
class Preferences {
 public:
  virtual ~Preferences() = default;
  virtual std::optional<PrefValue> globalValue(const std::string& key) = 0;
  // nullopt removes the key.
  virtual void setGlobalValue(const std::string& key, const std::optional<PrefValue>& value) = 0;
};

// AXIsProcessTrustedWithOptions.
class Accessibility {
 public:
  virtual ~Accessibility() = default;
  virtual bool isTrusted(bool prompt) = 0;
};

struct RunningApp {
  int pid = 0;
  std::string bundleIdentifier;
};

// NSWorkspace and NSRunningApplication.
class Workspace {
 public:
  virtual ~Workspace() = default;
  virtual std::vector<RunningApp> runningApplications(const std::string& bundleIdentifier) = 0;
  virtual void terminate(int pid) = 0;
  virtual void forceTerminate(int pid) = 0;
  // The workspace's did-wake notification, delivered on the main queue.
  virtual void setWakeObserver(std::function<void()> onWake) = 0;
};

// The main thread's run loop and main dispatch queue. Everything scheduled
// here runs on the main thread.
class RunLoop {
 public:
  using TimerId = int;
  virtual ~RunLoop() = default;
  virtual TimerId addTimer(double intervalSeconds, bool repeats, std::function<void()> fire) = 0;
  virtual void cancelTimer(TimerId id) = 0;
  virtual void after(double delaySeconds, std::function<void()> work) = 0;
  // Runs until stop(); returns then.
  virtual void run() = 0;
  virtual void stop() = 0;
};

// A dispatch source for a folder's write, rename and delete events. The
// watch ends when the returned object is destroyed.
class FolderWatcher {
 public:
  struct Watch {
    virtual ~Watch() = default;
  };
  virtual ~FolderWatcher() = default;
  // Null when the folder cannot be opened for event notification.
  virtual std::unique_ptr<Watch> watch(const std::string& folder,
                                       std::function<void()> onEvent) = 0;
};

}  // namespace quillon::platform
