#pragma once

// In-memory stand-ins for the app's OS services. Each records what the core
// asked of it, as one text line per call in `calls`, so that a test asserts
// the exact sequence.

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "quillon/platform/app_system.h"

namespace quillon::app::test {

using Calls = std::vector<std::string>;

class FakeService final : public platform::AppService {
 public:
  FakeService(Calls& calls, std::string name) : calls_(calls), name_(std::move(name)) {}
  platform::ServiceStatus status() override { return status_; }
  platform::OsResult registerService() override;
  platform::OsResult unregisterService() override;
  // Answers at once, unless `holdUnregister`: then the completion waits in
  // `unregistering` until finishUnregister() (the job is still being reaped).
  void unregisterService(std::function<void(platform::OsResult)> completion) override;
  void finishUnregister();

  platform::ServiceStatus status_ = platform::ServiceStatus::notRegistered;
  // When set, registering fails with this text and the status becomes
  // `statusAfterRefusal`.
  std::optional<std::string> refuse;
  platform::ServiceStatus statusAfterRefusal = platform::ServiceStatus::notRegistered;
  bool holdUnregister = false;
  std::vector<std::function<void(platform::OsResult)>> unregistering;

 private:
  Calls& calls_;
  std::string name_;
};

class FakeDefaults final : public platform::UserDefaults {
 public:
  using Value = std::variant<bool, int64_t, std::string, Data>;
  std::optional<bool> boolValue(const std::string& key) override { return get<bool>(key); }
  std::optional<int64_t> intValue(const std::string& key) override { return get<int64_t>(key); }
  std::optional<std::string> stringValue(const std::string& key) override {
    return get<std::string>(key);
  }
  std::optional<Data> dataValue(const std::string& key) override { return get<Data>(key); }
  void setBool(const std::string& key, bool v) override { values[key] = v; }
  void setInt(const std::string& key, int64_t v) override { values[key] = v; }
  void setString(const std::string& key, const std::string& v) override { values[key] = v; }
  void setData(const std::string& key, const Data& v) override { values[key] = v; }
  void remove(const std::string& key) override { values.erase(key); }

  void setText(const std::string& key, const std::string& text) {
    values[key] = Data(text.begin(), text.end());
  }
  std::string text(const std::string& key) {
    auto d = dataValue(key);
    return d ? std::string(d->begin(), d->end()) : std::string();
  }

  std::map<std::string, Value> values;

 private:
  template <class T>
  std::optional<T> get(const std::string& key) {
    auto it = values.find(key);
    if (it == values.end() || !std::holds_alternative<T>(it->second)) return std::nullopt;
    return std::get<T>(it->second);
  }
};

// Every service at once; `system()` hands them to the core.
class FakeMac {
 public:
  // `hostRoot`: where Mac-side paths of the bundle live on this machine.
  explicit FakeMac(std::filesystem::path hostRoot);
  ~FakeMac();
  platform::AppSystem& system() { return *system_; }

  Calls calls;
  FakeService agent{calls, "agent"};
  FakeService mainApp{calls, "mainApp"};
  FakeDefaults standard;
  std::map<std::string, FakeDefaults> suites;  // a missing suite cannot be opened
  std::map<std::string, platform::PrefValue> prefs;
  std::optional<int> trackpadServices = 1;
  std::vector<platform::HidService> hidServices;
  std::optional<platform::CurrentEvent> currentEvent;
  std::function<void()> reopenHandler;
  std::function<void(uint32_t)> hotKeyHandler;
  bool hotKeysRefused = false;
  std::filesystem::path hostRoot;
  std::string bundlePath = "/Applications/Quillon.app";
  std::string bundleIdentifier = "com.quillon.app";
  std::string shortVersion = "1.0";
  std::optional<std::string> recycleError;  // the Trash refuses the bundle
  // Running applications by bundle identifier; terminate ends them.
  std::map<std::string, std::vector<platform::RunningApp>> running;
  std::string agentPlist;  // the property list last asked for

  std::filesystem::path hostPath(const std::string& macPath) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::unique_ptr<platform::AppSystem> system_;
};

}  // namespace quillon::app::test
