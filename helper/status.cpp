#include "helper/status.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "common/atomic_file.h"

namespace quillon {

std::string statusText(const HelperState& state, bool accessibility, bool inputMonitoring) {
  auto flag = [](bool b) { return b ? "true" : "false"; };
  return std::string("{\"accessibility\":") + flag(accessibility) +
         ",\"inputMonitoring\":" + flag(inputMonitoring) +
         ",\"trackpad\":" + flag(!state.main.padIDs.empty()) +
         ",\"pid\":" + std::to_string(::getpid()) + "}";
}

void writeStatus(HelperState& state, bool accessibility) {
  // Input Monitoring counts as missing only while the mouse could not be
  // opened and the system still refuses.
  const bool inputMonitoring =
      !state.main.hidOpenFailed || state.system.hid.listenEventAccessGranted();
  std::string text = statusText(state, accessibility, inputMonitoring);
  if (text == state.main.lastStatus) {
    return;
  }
  std::error_code ignored;
  if (!state.main.statusWritten) {
    std::filesystem::create_directories(state.paths.supportDir, ignored);
  } else if (!std::filesystem::is_directory(state.paths.supportDir, ignored)) {
    // Removed under a running helper (the uninstall): making it again would
    // leave the folder behind once this helper ends. Written once it is back.
    return;
  }
  state.main.lastStatus = std::move(text);
  if (writeFileAtomically(state.paths.statusFile, state.main.lastStatus)) {
    state.main.statusWritten = true;
  }
}

}  // namespace quillon
