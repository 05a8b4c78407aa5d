#pragma once

#include "quillon/platform/system_services.h"

namespace quillon {

// The system's window that asks for Accessibility stays open after the
// permission has been given. Asks every running instance to quit, and 0.7 s
// later, on the main queue, forces those still running.
void dismissAccessibilityPrompt(platform::Workspace& workspace, platform::RunLoop& runLoop);

}  // namespace quillon
