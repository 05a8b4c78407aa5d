#include "core_graphics.h"
#include "hid.h"
#include "multitouch.h"
#include "quillon/platform/system.h"
#include "services.h"

namespace quillon::platform {
namespace {

class MacBackend final : public Backend {
 public:
  System& system() override { return system_; }

 private:
  macos::CGDisplays displays_;
  macos::CGEventTaps taps_;
  macos::CGCursor cursor_;
  macos::UptimeClock clock_;
  macos::MTFramework multitouch_;
  macos::IOKitHid hid_;
  macos::CFGlobalPreferences preferences_;
  macos::AXAccessibility accessibility_;
  macos::AppKitWorkspace workspace_;
  macos::CFMainRunLoop runLoop_;
  macos::DispatchFolderWatcher folders_;
  System system_{displays_,    taps_,          cursor_,    clock_,   multitouch_, hid_,
                 preferences_, accessibility_, workspace_, runLoop_, folders_};
};

}  // namespace

std::unique_ptr<Backend> makeBackend() {
  return std::make_unique<MacBackend>();
}

}  // namespace quillon::platform
