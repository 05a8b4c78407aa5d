#pragma once

#include <functional>
#include <memory>
#include <string>

#include "quillon/platform/app_system.h"
#include "sim/sim_folder.h"
#include "sim/sim_records.h"

namespace quillon::sim {

// defaults.json holds every user-defaults domain of the simulated Mac:
// {"com.quillon.app":{"setupDone":true,"NSInitialToolTipDelay":500,
// "helperStamp":"1700000000.5","presets.mouse":{"data":"<base64>"}}}.
// Values keep their type: a JSON bool, integer, string, or binary data as
// {"data": base64}. Read on every call, written whole under the lock.
constexpr std::string_view kDefaultsFile = "defaults.json";

// Removes a whole domain; false when it was not there.
bool removeDefaultsDomain(const SystemFolder& folder, const std::string& domain);
// A domain's content, null when it is not there.
nlohmann::json defaultsDomain(const SystemFolder& folder, const std::string& domain);

class SimUserDefaults : public platform::UserDefaults {
 public:
  SimUserDefaults(const SystemFolder& folder, Recorder& recorder, std::string domain)
      : folder_(folder), recorder_(recorder), domain_(std::move(domain)) {}
  std::optional<bool> boolValue(const std::string& key) override;
  std::optional<int64_t> intValue(const std::string& key) override;
  std::optional<std::string> stringValue(const std::string& key) override;
  std::optional<Data> dataValue(const std::string& key) override;
  void setBool(const std::string& key, bool value) override;
  void setInt(const std::string& key, int64_t value) override;
  void setString(const std::string& key, const std::string& value) override;
  void setData(const std::string& key, const Data& value) override;
  void remove(const std::string& key) override;
  const std::string& domain() const { return domain_; }

 private:
  nlohmann::json value(const std::string& key) const;
  void set(const std::string& key, const nlohmann::json& value);
  const SystemFolder& folder_;
  Recorder& recorder_;
  std::string domain_;
};

// The standard domain is named by the running bundle's identifier (asked
// each time: `domainName`), as NSUserDefaults does it.
class SimUserDefaultsStore : public platform::UserDefaultsStore {
 public:
  SimUserDefaultsStore(const SystemFolder& folder, Recorder& recorder,
                       std::function<std::string()> domainName);
  platform::UserDefaults& standard() override;
  std::unique_ptr<platform::UserDefaults> suite(const std::string& name) override;
  void removeAppDomain() override;

 private:
  const SystemFolder& folder_;
  Recorder& recorder_;
  std::function<std::string()> domainName_;
  std::unique_ptr<SimUserDefaults> standard_;
};

}  // namespace quillon::sim
