#include "fake_mac.h"

#include <sstream>

namespace quillon::app::test {

using platform::OsResult;

namespace {

std::string text(const platform::PrefValue& v) {
  if (auto b = std::get_if<bool>(&v)) return *b ? "true" : "false";
  if (auto d = std::get_if<double>(&v)) {
    std::ostringstream s;
    s << *d;
    return s.str();
  }
  return std::get<std::string>(v);
}

}  // namespace

OsResult FakeService::registerService() {
  calls_.push_back(name_ + ".register");
  if (refuse) {
    status_ = statusAfterRefusal;
    return platform::OsError{*refuse};
  }
  status_ = platform::ServiceStatus::enabled;
  return std::nullopt;
}

OsResult FakeService::unregisterService() {
  calls_.push_back(name_ + ".unregister");
  status_ = platform::ServiceStatus::notRegistered;
  return std::nullopt;
}

void FakeService::unregisterService(std::function<void(OsResult)> completion) {
  OsResult result = unregisterService();
  if (!holdUnregister) {
    completion(result);
    return;
  }
  unregistering.push_back(
      [completion = std::move(completion), result](const OsResult&) { completion(result); });
}

void FakeService::finishUnregister() {
  holdUnregister = false;
  auto waiting = std::move(unregistering);
  unregistering.clear();
  for (auto& done : waiting) done(std::nullopt);
}

struct FakeMac::Impl final : platform::ServiceManagement,
                             platform::UserDefaultsStore,
                             platform::Preferences,
                             platform::GlobalPreferencesWriter,
                             platform::HidSystem,
                             platform::Registry,
                             platform::HotKeyCenter,
                             platform::AppWorkspace,
                             platform::Workspace,
                             platform::Accessibility,
                             platform::EventSource,
                             platform::BundleInfo,
                             platform::Processes,
                             platform::Appearance {
  explicit Impl(FakeMac& m) : mac(m) {}
  FakeMac& mac;
  void log(std::string line) { mac.calls.push_back(std::move(line)); }

  // ServiceManagement
  platform::AppService& agent(const std::string& plist) override {
    mac.agentPlist = plist;
    return mac.agent;
  }
  platform::AppService& mainApp() override { return mac.mainApp; }
  void openLoginItemsSettings() override { log("openLoginItems"); }

  // UserDefaultsStore
  platform::UserDefaults& standard() override { return mac.standard; }
  std::unique_ptr<platform::UserDefaults> suite(const std::string& name) override {
    auto it = mac.suites.find(name);
    if (it == mac.suites.end()) return nullptr;
    return std::make_unique<FakeDefaults>(it->second);
  }
  void removeAppDomain() override { log("removeAppDomain"); }

  // Preferences and the writer share one map.
  std::optional<platform::PrefValue> globalValue(const std::string& key) override {
    auto it = mac.prefs.find(key);
    if (it == mac.prefs.end()) return std::nullopt;
    return it->second;
  }
  void setGlobalValue(const std::string& key,
                      const std::optional<platform::PrefValue>& v) override {
    setAnyHost(key, v);
  }
  void setAnyHost(const std::string& key, const std::optional<platform::PrefValue>& v) override {
    log("pref " + key + " " + (v ? text(*v) : "removed"));
    if (v) {
      mac.prefs[key] = *v;
    } else {
      mac.prefs.erase(key);
    }
  }
  void synchronize() override {}

  // HidSystem
  void setClientProperty(const std::string& name, int64_t v) override {
    log("hid.client " + name + " " + std::to_string(v));
  }
  std::vector<platform::HidService> services() override { return mac.hidServices; }
  void setServiceProperty(uint64_t id, const std::string& name, int64_t v) override {
    log("hid.service " + std::to_string(id) + " " + name + " " + std::to_string(v));
  }
  void legacySetAcceleration(const std::string& name, double v) override {
    log("hid.legacy " + name + " " + text(v));
  }
  void setInputParameter(const std::string& name, int64_t v) override {
    log("hid.parameter " + name + " " + std::to_string(v));
  }

  // Registry
  std::optional<int> serviceCount(const std::string&) override { return mac.trackpadServices; }

  // HotKeyCenter
  void installHandler(std::function<void(uint32_t)> onPressed) override {
    mac.hotKeyHandler = std::move(onPressed);
  }
  std::optional<uint64_t> registerHotKey(uint32_t key, uint32_t mods, uint32_t sig,
                                         uint32_t id) override {
    log("hotKey " + std::to_string(key) + " " + std::to_string(mods) + " " + std::to_string(sig) +
        " " + std::to_string(id));
    if (mac.hotKeysRefused) return std::nullopt;
    return 100 + id;
  }

  // AppWorkspace and Workspace
  bool openURL(const std::string& url) override {
    log("open " + url);
    return true;
  }
  void revealInFinder(const std::vector<std::filesystem::path>& items) override {
    for (const auto& i : items) log("reveal " + i.string());
  }
  void recycle(const std::filesystem::path& item, std::function<void(OsResult)> done) override {
    log("recycle " + item.string());
    if (mac.recycleError) {
      done(platform::OsError{*mac.recycleError});
    } else {
      done(std::nullopt);
    }
  }
  std::vector<platform::RunningApp> runningApplications(const std::string& id) override {
    auto it = mac.running.find(id);
    return it == mac.running.end() ? std::vector<platform::RunningApp>{} : it->second;
  }
  void terminate(int pid) override {
    log("terminate " + std::to_string(pid));
    for (auto& [id, apps] : mac.running) {
      std::erase_if(apps, [pid](const platform::RunningApp& a) { return a.pid == pid; });
    }
  }
  void forceTerminate(int pid) override { log("forceTerminate " + std::to_string(pid)); }
  void setWakeObserver(std::function<void()>) override {}
  bool isTerminated(int) override { return true; }
  void activate(int pid) override { log("activate " + std::to_string(pid)); }
  void activateSelf() override { log("activateSelf"); }
  void terminateSelf() override { log("terminateSelf"); }

  // Accessibility
  bool isTrusted(bool) override { return false; }

  // EventSource
  std::optional<platform::CurrentEvent> currentEvent() override { return mac.currentEvent; }
  std::unique_ptr<Monitor> addGlobalMouseDownMonitor(std::function<void()>) override {
    return nullptr;
  }
  void setReopenHandler(std::function<void()> onReopen) override {
    mac.reopenHandler = std::move(onReopen);
  }

  // BundleInfo
  std::string bundlePath() override { return mac.bundlePath; }
  std::string bundleIdentifier() override { return mac.bundleIdentifier; }
  std::string shortVersion() override { return mac.shortVersion; }
  std::optional<bool> volumeIsReadOnly(const std::string&) override { return false; }
  bool isWritable(const std::string&) override { return true; }
  std::string hardwareModel() override { return "Mac14,2"; }
  std::string osVersionText() override { return "Version 14.0"; }
  std::filesystem::path hostPath(const std::string& macPath) override {
    return mac.hostPath(macPath);
  }

  // Processes
  platform::ProcessResult run(const std::string& path,
                              const std::vector<std::string>& args) override {
    std::string line = "run " + path;
    for (const auto& a : args) line += " " + a;
    log(line);
    return {0, ""};
  }
  OsResult startDetached(const std::string& path, const std::vector<std::string>& args) override {
    std::string line = "detached " + path;
    for (const auto& a : args) line += " " + a;
    log(line);
    return std::nullopt;
  }

  // Appearance
  bool isDark() override { return false; }
};

FakeMac::FakeMac(std::filesystem::path root)
    : hostRoot(std::move(root)), impl_(std::make_unique<Impl>(*this)) {
  Impl& i = *impl_;
  system_ = std::make_unique<platform::AppSystem>(
      platform::AppSystem{i, i, i, i, i, i, i, i, i, i, i, i, i, i});
}

FakeMac::~FakeMac() = default;

std::filesystem::path FakeMac::hostPath(const std::string& macPath) const {
  return hostRoot / std::filesystem::path(macPath).relative_path();
}

}  // namespace quillon::app::test
