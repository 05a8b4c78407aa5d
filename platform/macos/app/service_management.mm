#include "app_services.h"

#import <ServiceManagement/ServiceManagement.h>
#include <dispatch/dispatch.h>

#include "ns_text.h"

namespace quillon::platform::macos {
namespace {

OsResult outcome(BOOL ok, NSError* error) {
  if (ok) return std::nullopt;
  return OsError{fromNS(error.localizedDescription)};
}

class SMService final : public AppService {
 public:
  explicit SMService(SMAppService* service) : service_(service) {}

  ServiceStatus status() override { return static_cast<ServiceStatus>(service_.status); }

  OsResult registerService() override {
    NSError* error = nil;
    const BOOL ok = [service_ registerAndReturnError:&error];
    return outcome(ok, error);
  }

  OsResult unregisterService() override {
    NSError* error = nil;
    const BOOL ok = [service_ unregisterAndReturnError:&error];
    return outcome(ok, error);
  }

  void unregisterService(std::function<void(OsResult)> completion) override {
    // The handler comes on a queue of ServiceManagement's own; the core
    // hears back on the main thread.
    [service_ unregisterWithCompletionHandler:^(NSError* error) {
      OsResult result = outcome(error == nil, error);
      dispatch_async(dispatch_get_main_queue(), ^{
        completion(result);
      });
    }];
  }

 private:
  SMAppService* service_;
};

}  // namespace

SMServiceManagement::SMServiceManagement() = default;
SMServiceManagement::~SMServiceManagement() = default;

AppService& SMServiceManagement::agent(const std::string& plistName) {
  std::unique_ptr<AppService>& service = agents_[plistName];
  if (!service) {
    service =
        std::make_unique<SMService>([SMAppService agentServiceWithPlistName:nsString(plistName)]);
  }
  return *service;
}

AppService& SMServiceManagement::mainApp() {
  if (!mainApp_) mainApp_ = std::make_unique<SMService>(SMAppService.mainAppService);
  return *mainApp_;
}

void SMServiceManagement::openLoginItemsSettings() {
  [SMAppService openSystemSettingsLoginItems];
}

}  // namespace quillon::platform::macos
