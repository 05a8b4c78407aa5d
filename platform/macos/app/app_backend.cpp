#include "../services.h"
#include "app_services.h"
#include "quillon/platform/app_system.h"

namespace quillon::platform {
namespace {

class MacAppBackend final : public AppBackend {
 public:
  AppSystem& system() override { return system_; }

  // Nothing to keep: AppKit and Carbon deliver every callback on the main
  // thread already, and the one that does not (the workspace's recycle
  // completion) is sent to the main dispatch queue, which the app's event
  // loop drains.
  void setMainQueue(MainQueue) override {}

 private:
  macos::SMServiceManagement services_;
  macos::NSUserDefaultsStore defaults_;
  macos::CFGlobalPreferences preferences_;
  macos::CFPreferencesWriter preferencesWriter_;
  macos::HidEventSystem hid_;
  macos::IOKitRegistry registry_;
  macos::CarbonHotKeys hotKeys_;
  macos::AppKitAppWorkspace workspace_;
  macos::AppKitWorkspace helperWorkspace_;
  macos::AXAccessibility accessibility_;
  macos::AppKitEventSource events_;
  macos::MainBundleInfo bundle_;
  macos::PosixProcesses processes_;
  macos::AppKitAppearance appearance_;
  AppSystem system_{services_, defaults_, preferences_, preferencesWriter_, hid_,
                    registry_, hotKeys_,  workspace_,   helperWorkspace_,   accessibility_,
                    events_,   bundle_,   processes_,   appearance_};
};

}  // namespace

std::unique_ptr<AppBackend> makeAppBackend() {
  return std::make_unique<MacAppBackend>();
}

}  // namespace quillon::platform
