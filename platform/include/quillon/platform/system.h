#pragma once

#include <memory>

#include "quillon/platform/clock.h"
#include "quillon/platform/displays.h"
#include "quillon/platform/events.h"
#include "quillon/platform/hid.h"
#include "quillon/platform/multitouch.h"
#include "quillon/platform/system_services.h"

namespace quillon::platform {

// Every OS service the helper uses, as one set of references. The backend
// (sim or macos) owns the objects.
struct System {
  Displays& displays;
  EventTaps& taps;
  Cursor& cursor;
  Clock& clock;
  Multitouch& multitouch;
  Hid& hid;
  Preferences& preferences;
  Accessibility& accessibility;
  Workspace& workspace;
  RunLoop& runLoop;
  FolderWatcher& folders;
};

// The backend this build was made with. Owns its services.
class Backend {
 public:
  virtual ~Backend() = default;
  virtual System& system() = 0;
  // Called once when the helper starts its background run (not for
  // `preview`); the simulated Mac opens its control socket here.
  virtual void willRun() {}
};

std::unique_ptr<Backend> makeBackend();

}  // namespace quillon::platform
