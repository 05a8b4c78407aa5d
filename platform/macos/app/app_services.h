#pragma once

// The menu bar app's OS services on a Mac, one thin translation each (one
// .cpp or .mm file per class). Plain C++: Objective-C objects are held in
// the .mm files or as retained void pointers.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "quillon/platform/app_system.h"

namespace quillon::platform::macos {

// SMAppService (service_management.mm).
class SMServiceManagement final : public ServiceManagement {
 public:
  SMServiceManagement();
  ~SMServiceManagement() override;
  AppService& agent(const std::string& plistName) override;
  AppService& mainApp() override;
  void openLoginItemsSettings() override;

 private:
  std::map<std::string, std::unique_ptr<AppService>> agents_;  // by property-list name
  std::unique_ptr<AppService> mainApp_;
};

// NSUserDefaults (user_defaults.mm).
class NSUserDefaultsStore final : public UserDefaultsStore {
 public:
  NSUserDefaultsStore();
  ~NSUserDefaultsStore() override;
  UserDefaults& standard() override;
  std::unique_ptr<UserDefaults> suite(const std::string& name) override;
  void removeAppDomain() override;

 private:
  std::unique_ptr<UserDefaults> standard_;
};

// CFPreferences for any application, the current user, any host
// (preferences_writer.cpp).
class CFPreferencesWriter final : public GlobalPreferencesWriter {
 public:
  void setAnyHost(const std::string& key, const std::optional<PrefValue>& value) override;
  void synchronize() override;
};

// The HID event-system client, made on first use and kept; the older
// event-status calls loaded at run time (hid_system.cpp).
class HidEventSystem final : public HidSystem {
 public:
  HidEventSystem() = default;
  ~HidEventSystem() override;
  HidEventSystem(const HidEventSystem&) = delete;
  HidEventSystem& operator=(const HidEventSystem&) = delete;

  void setClientProperty(const std::string& name, int64_t value) override;
  std::vector<HidService> services() override;
  void setServiceProperty(uint64_t serviceId, const std::string& name, int64_t value) override;
  void legacySetAcceleration(const std::string& name, double value) override;
  void setInputParameter(const std::string& name, int64_t value) override;

 private:
  void* client();  // IOHIDEventSystemClientRef, null when it cannot be made
  void* client_ = nullptr;
};

// IOServiceGetMatchingServices (registry.cpp).
class IOKitRegistry final : public Registry {
 public:
  std::optional<int> serviceCount(const std::string& className) override;
};

// Carbon's hot keys on the application event target (hot_keys.cpp).
class CarbonHotKeys final : public HotKeyCenter {
 public:
  CarbonHotKeys() = default;
  ~CarbonHotKeys() override;  // removes the handler; registered keys stay
  CarbonHotKeys(const CarbonHotKeys&) = delete;
  CarbonHotKeys& operator=(const CarbonHotKeys&) = delete;

  void installHandler(std::function<void(uint32_t id)> onPressed) override;
  std::optional<uint64_t> registerHotKey(uint32_t keyCode, uint32_t modifiers, uint32_t signature,
                                         uint32_t id) override;

 private:
  std::function<void(uint32_t)> onPressed_;  // the handler's user data points here
  void* handler_ = nullptr;                  // EventHandlerRef
};

// NSWorkspace, NSRunningApplication and NSApp (workspace.mm).
class AppKitAppWorkspace final : public AppWorkspace {
 public:
  bool openURL(const std::string& url) override;
  void revealInFinder(const std::vector<std::filesystem::path>& items) override;
  void recycle(const std::filesystem::path& item,
               std::function<void(OsResult)> completion) override;
  std::vector<RunningApp> runningApplications(const std::string& bundleIdentifier) override;
  void terminate(int pid) override;
  void forceTerminate(int pid) override;
  bool isTerminated(int pid) override;
  void activate(int pid) override;
  void activateSelf() override;
  void terminateSelf() override;
};

// NSApp's current event and a global monitor (event_source.mm); the reopen
// hook on the application delegate (reopen.mm).
class AppKitEventSource final : public EventSource {
 public:
  std::optional<CurrentEvent> currentEvent() override;
  std::unique_ptr<Monitor> addGlobalMouseDownMonitor(std::function<void()> onMouseDown) override;
  void setReopenHandler(std::function<void()> onReopen) override;
};

// NSBundle, NSURL, NSFileManager, sysctl and NSProcessInfo
// (bundle_info.mm).
class MainBundleInfo final : public BundleInfo {
 public:
  std::string bundlePath() override;
  std::string bundleIdentifier() override;
  std::string shortVersion() override;
  std::optional<bool> volumeIsReadOnly(const std::string& path) override;
  bool isWritable(const std::string& path) override;
  std::string hardwareModel() override;
  std::string osVersionText() override;
  std::filesystem::path hostPath(const std::string& macPath) override;
};

// posix_spawn (processes.mm).
class PosixProcesses final : public Processes {
 public:
  ProcessResult run(const std::string& path, const std::vector<std::string>& args) override;
  OsResult startDetached(const std::string& path, const std::vector<std::string>& args) override;
};

// NSApp's effective appearance (appearance.mm).
class AppKitAppearance final : public Appearance {
 public:
  bool isDark() override;
};

}  // namespace quillon::platform::macos
