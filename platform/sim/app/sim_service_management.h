#pragma once

#include <functional>
#include <string>

#include "quillon/platform/app_system.h"
#include "sim/sim_folder.h"
#include "sim/sim_records.h"

namespace quillon::sim {

// The bundle as ServiceManagement sees it: its host path and identifier.
struct BundleRef {
  std::function<std::filesystem::path()> hostPath;
  std::function<std::string()> identifier;
};

// SMAppService.agent(plistName:): the status comes from the bundle's
// property list (missing or unreadable: not found), launchd.json (loaded:
// enabled) and a forced status. Registering loads the job and makes sure
// the supervisor runs; unregistering unloads it, and the supervisor stops
// the process.
class SimAgentService : public platform::AppService {
 public:
  SimAgentService(const SystemFolder& folder, Recorder& recorder, BundleRef bundle,
                  std::string plistName);
  platform::ServiceStatus status() override;
  platform::OsResult registerService() override;
  platform::OsResult unregisterService() override;
  const std::string& plistName() const { return plistName_; }

 private:
  std::filesystem::path plistPath() const;
  const SystemFolder& folder_;
  Recorder& recorder_;
  BundleRef bundle_;
  std::string plistName_;
};

// SMAppService.mainApp: the bundle identifier in launchd.json's loginItems.
class SimLoginItem : public platform::AppService {
 public:
  SimLoginItem(const SystemFolder& folder, Recorder& recorder, BundleRef bundle)
      : folder_(folder), recorder_(recorder), bundle_(std::move(bundle)) {}
  platform::ServiceStatus status() override;
  platform::OsResult registerService() override;
  platform::OsResult unregisterService() override;

 private:
  const SystemFolder& folder_;
  Recorder& recorder_;
  BundleRef bundle_;
};

class SimServiceManagement : public platform::ServiceManagement {
 public:
  SimServiceManagement(const SystemFolder& folder, Recorder& recorder, BundleRef bundle,
                       platform::AppWorkspace& workspace);
  platform::AppService& agent(const std::string& plistName) override;
  platform::AppService& mainApp() override { return loginItem_; }
  void openLoginItemsSettings() override;

 private:
  const SystemFolder& folder_;
  Recorder& recorder_;
  BundleRef bundle_;
  platform::AppWorkspace& workspace_;
  SimLoginItem loginItem_;
  std::vector<std::unique_ptr<SimAgentService>> agents_;
};

}  // namespace quillon::sim
