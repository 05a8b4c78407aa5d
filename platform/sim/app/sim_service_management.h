#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "quillon/platform/app_system.h"
#include "sim/app/main_queue.h"
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
// the process. The unregistering with a completion answers, on the main
// queue, only once the supervisor reports the job's process gone, and not
// while a test holds it (AppMac::holdAgentUnregister).
class SimAgentService : public platform::AppService {
 public:
  SimAgentService(const SystemFolder& folder, Recorder& recorder, BundleRef bundle,
                  std::string plistName, MainPoster& mainQueue,
                  std::shared_ptr<std::atomic<bool>> hold);
  ~SimAgentService() override;
  platform::ServiceStatus status() override;
  platform::OsResult registerService() override;
  platform::OsResult unregisterService() override;
  void unregisterService(std::function<void(platform::OsResult)> completion) override;
  const std::string& plistName() const { return plistName_; }

 private:
  std::filesystem::path plistPath() const;
  std::optional<std::string> label() const;
  const SystemFolder& folder_;
  Recorder& recorder_;
  BundleRef bundle_;
  std::string plistName_;
  MainPoster& mainQueue_;
  std::shared_ptr<std::atomic<bool>> hold_;
  std::vector<std::jthread> waiters_;
};

// SMAppService.mainApp: the bundle identifier in launchd.json's loginItems.
class SimLoginItem : public platform::AppService {
 public:
  SimLoginItem(const SystemFolder& folder, Recorder& recorder, BundleRef bundle,
               MainPoster& mainQueue)
      : folder_(folder), recorder_(recorder), bundle_(std::move(bundle)), mainQueue_(mainQueue) {}
  platform::ServiceStatus status() override;
  platform::OsResult registerService() override;
  platform::OsResult unregisterService() override;
  void unregisterService(std::function<void(platform::OsResult)> completion) override;

 private:
  const SystemFolder& folder_;
  Recorder& recorder_;
  BundleRef bundle_;
  MainPoster& mainQueue_;
};

class SimServiceManagement : public platform::ServiceManagement {
 public:
  SimServiceManagement(const SystemFolder& folder, Recorder& recorder, const BundleRef& bundle,
                       platform::AppWorkspace& workspace, MainPoster& mainQueue);
  platform::AppService& agent(const std::string& plistName) override;
  platform::AppService& mainApp() override { return loginItem_; }
  void openLoginItemsSettings() override;
  // While held, an agent's unregistering with a completion does not answer:
  // the job stays "being reaped" for as long as a test needs to look.
  void holdUnregister(bool hold) { *hold_ = hold; }

 private:
  const SystemFolder& folder_;
  Recorder& recorder_;
  BundleRef bundle_;
  platform::AppWorkspace& workspace_;
  MainPoster& mainQueue_;
  std::shared_ptr<std::atomic<bool>> hold_ = std::make_shared<std::atomic<bool>>(false);
  SimLoginItem loginItem_;
  std::vector<std::unique_ptr<SimAgentService>> agents_;
};

}  // namespace quillon::sim
