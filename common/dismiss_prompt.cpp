#include "common/dismiss_prompt.h"

namespace quillon {

namespace {
constexpr const char* kPromptBundle = "com.apple.accessibility.universalAccessAuthWarn";
constexpr double kForceAfterSeconds = 0.7;
}  // namespace

void dismissAccessibilityPrompt(platform::Workspace& workspace, platform::RunLoop& runLoop) {
  for (const platform::RunningApp& app : workspace.runningApplications(kPromptBundle)) {
    workspace.terminate(app.pid);
  }
  runLoop.after(kForceAfterSeconds, [&workspace] {
    for (const platform::RunningApp& app : workspace.runningApplications(kPromptBundle)) {
      workspace.forceTerminate(app.pid);
    }
  });
}

}  // namespace quillon
