#pragma once

// The OS services of the menu bar app, one small interface each. The helper's
// services (system.h) stay as they are; the app uses some of those too
// (global preferences, accessibility).
//
// Threads: every call is made on the app's main thread, and every callback
// is delivered on it (the backend posts through the main-queue function that
// the app hands to AppBackend::setMainQueue).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quillon/platform/system_services.h"

namespace quillon::platform {

// ServiceManagement's SMAppService, as the numbers it reports.
enum class ServiceStatus : int {
  notRegistered = 0,
  enabled = 1,
  requiresApproval = 2,
  notFound = 3
};

// An operation that failed, with the system's localized description.
struct OsError {
  std::string description;
};
// Empty on success.
using OsResult = std::optional<OsError>;

// One SMAppService: the helper agent (by property-list name) or the app's
// own main-app login item.
class AppService {
 public:
  virtual ~AppService() = default;
  virtual ServiceStatus status() = 0;
  virtual OsResult registerService() = 0;
  virtual OsResult unregisterService() = 0;
  // unregisterWithCompletionHandler: the completion runs on the main thread
  // once the job has really ended. unregisterService() returns before that,
  // so registering right after it can find the old job still there.
  virtual void unregisterService(std::function<void(OsResult)> completion) = 0;
};

class ServiceManagement {
 public:
  virtual ~ServiceManagement() = default;
  // The agent whose property list is Contents/Library/LaunchAgents/<plistName>.
  virtual AppService& agent(const std::string& plistName) = 0;
  virtual AppService& mainApp() = 0;
  // SMAppService.openSystemSettingsLoginItems().
  virtual void openLoginItemsSettings() = 0;
};

// NSUserDefaults: the app's standard domain, or a named suite (read only
// here). A value of another type than asked for reads as absent.
class UserDefaults {
 public:
  using Data = std::vector<uint8_t>;
  virtual ~UserDefaults() = default;
  virtual std::optional<bool> boolValue(const std::string& key) = 0;
  virtual std::optional<int64_t> intValue(const std::string& key) = 0;
  virtual std::optional<std::string> stringValue(const std::string& key) = 0;
  virtual std::optional<Data> dataValue(const std::string& key) = 0;
  virtual void setBool(const std::string& key, bool value) = 0;
  virtual void setInt(const std::string& key, int64_t value) = 0;
  virtual void setString(const std::string& key, const std::string& value) = 0;
  virtual void setData(const std::string& key, const Data& value) = 0;
  virtual void remove(const std::string& key) = 0;
};

class UserDefaultsStore {
 public:
  virtual ~UserDefaultsStore() = default;
  virtual UserDefaults& standard() = 0;
  // UserDefaults(suiteName:); null when it cannot be opened.
  virtual std::unique_ptr<UserDefaults> suite(const std::string& name) = 0;
  // removePersistentDomain(forName: the app's bundle identifier).
  virtual void removeAppDomain() = 0;
};

// Global preferences as the app writes them: any application, the current
// user, any host. Reading goes through Preferences::globalValue.
class GlobalPreferencesWriter {
 public:
  virtual ~GlobalPreferencesWriter() = default;
  virtual void setAnyHost(const std::string& key, const std::optional<PrefValue>& value) = 0;
  virtual void synchronize() = 0;
};

// The HID event-system client, and the older event-status calls.
struct HidService {
  uint64_t id = 0;
  // "HIDPointerAccelerationType" when the service has it as text.
  std::optional<std::string> accelerationType;
};
class HidSystem {
 public:
  virtual ~HidSystem() = default;
  virtual void setClientProperty(const std::string& name, int64_t value) = 0;
  virtual std::vector<HidService> services() = 0;
  virtual void setServiceProperty(uint64_t serviceId, const std::string& name, int64_t value) = 0;
  // IOHIDSetAccelerationWithKey / IOHIDSetCFTypeParameter through
  // NXOpenEventStatus; nothing happens when IOKit lacks them.
  virtual void legacySetAcceleration(const std::string& name, double value) = 0;
  virtual void setInputParameter(const std::string& name, int64_t value) = 0;
};

// IOServiceGetMatchingServices on the main port.
class Registry {
 public:
  virtual ~Registry() = default;
  // nullopt when the query itself fails.
  virtual std::optional<int> serviceCount(const std::string& className) = 0;
};

// Carbon's RegisterEventHotKey on the application event target.
class HotKeyCenter {
 public:
  virtual ~HotKeyCenter() = default;
  // The handler for kEventHotKeyPressed; gets the hot-key id.
  virtual void installHandler(std::function<void(uint32_t id)> onPressed) = 0;
  // An opaque reference, or nullopt when the registration failed.
  virtual std::optional<uint64_t> registerHotKey(uint32_t keyCode, uint32_t modifiers,
                                                 uint32_t signature, uint32_t id) = 0;
};

// NSWorkspace and NSRunningApplication as the app needs them.
class AppWorkspace {
 public:
  virtual ~AppWorkspace() = default;
  // False when no URL can be made from the text.
  virtual bool openURL(const std::string& url) = 0;
  virtual void revealInFinder(const std::vector<std::filesystem::path>& items) = 0;
  // NSWorkspace.recycle; the completion gets an error or none, on the main
  // thread.
  virtual void recycle(const std::filesystem::path& item,
                       std::function<void(OsResult)> completion) = 0;
  virtual std::vector<RunningApp> runningApplications(const std::string& bundleIdentifier) = 0;
  virtual void terminate(int pid) = 0;
  virtual void forceTerminate(int pid) = 0;
  virtual bool isTerminated(int pid) = 0;
  virtual void activate(int pid) = 0;
  // Brings this app forward (NSApp.activate; before macOS 14
  // activate(ignoringOtherApps: true)).
  virtual void activateSelf() = 0;
  // NSApp.terminate: the app's run loop ends and the process exits.
  virtual void terminateSelf() = 0;
};

// The event that the application is handling now (NSApp.currentEvent).
struct CurrentEvent {
  // NSEvent types: 1 left down, 2 left up, 3 right down, 4 right up.
  int type = 0;
  // NSEventSubtype: 3 = touch (a trackpad click); 0 = mouse.
  int subtype = 0;
};
class EventSource {
 public:
  virtual ~EventSource() = default;
  virtual std::optional<CurrentEvent> currentEvent() = 0;
  // A global monitor for left and right mouse-down in other applications.
  // The monitor ends when the returned object is destroyed.
  struct Monitor {
    virtual ~Monitor() = default;
  };
  virtual std::unique_ptr<Monitor> addGlobalMouseDownMonitor(std::function<void()> onMouseDown) = 0;
  // applicationShouldHandleReopen; the app answers false itself.
  virtual void setReopenHandler(std::function<void()> onReopen) = 0;
};

// The main bundle and the machine.
class BundleInfo {
 public:
  virtual ~BundleInfo() = default;
  // The Mac-side path of the running bundle (".../Quillon.app").
  virtual std::string bundlePath() = 0;
  virtual std::string bundleIdentifier() = 0;
  // "CFBundleShortVersionString", empty when absent.
  virtual std::string shortVersion() = 0;
  // NSURLVolumeIsReadOnlyKey of a Mac-side path; nullopt when the query fails.
  virtual std::optional<bool> volumeIsReadOnly(const std::string& path) = 0;
  // FileManager.isWritableFile(atPath:) on a Mac-side path.
  virtual bool isWritable(const std::string& path) = 0;
  virtual std::string hardwareModel() = 0;  // sysctl "hw.model"
  virtual std::string osVersionText() = 0;  // ProcessInfo.operatingSystemVersionString
  // Maps a Mac-side absolute path ("/Applications/Quillon.app") to the path
  // the process opens. The identity on a Mac; under the system folder on
  // the simulated Mac for the paths that live there.
  virtual std::filesystem::path hostPath(const std::string& macPath) = 0;
};

struct ProcessResult {
  int32_t status = 0;
  std::string output;  // stdout and stderr; empty when not valid UTF-8
};
// Child processes. Program paths are Mac-side ("/bin/launchctl").
class Processes {
 public:
  virtual ~Processes() = default;
  // Runs and waits, reading one pipe of stdout+stderr to its end; status -1
  // and the error text when the program cannot start. Safe to call from any
  // thread.
  virtual ProcessResult run(const std::string& path, const std::vector<std::string>& args) = 0;
  // A child that may outlive the app; its output is not captured.
  virtual OsResult startDetached(const std::string& path, const std::vector<std::string>& args) = 0;
};

class Appearance {
 public:
  virtual ~Appearance() = default;
  virtual bool isDark() = 0;
};

// Every OS service the app uses.
struct AppSystem {
  ServiceManagement& services;
  UserDefaultsStore& defaults;
  Preferences& preferences;
  GlobalPreferencesWriter& preferencesWriter;
  HidSystem& hid;
  Registry& registry;
  HotKeyCenter& hotKeys;
  AppWorkspace& workspace;
  Workspace& helperWorkspace;  // for dismissAccessibilityPrompt
  Accessibility& accessibility;
  EventSource& events;
  BundleInfo& bundle;
  Processes& processes;
  Appearance& appearance;
};

class AppBackend {
 public:
  using MainQueue = std::function<void(std::function<void()>)>;
  virtual ~AppBackend() = default;
  virtual AppSystem& system() = 0;
  // How the backend gets work onto the app's main thread. Set once, before
  // any callback can fire.
  virtual void setMainQueue(MainQueue post) = 0;
};

std::unique_ptr<AppBackend> makeAppBackend();

}  // namespace quillon::platform
