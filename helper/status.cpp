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

namespace {

// Passes every event unchanged: the probe exists only to learn whether the
// system would allow a tap.
platform::EventRef allowed(void*, uint32_t, platform::EventRef event) {
  return event;
}

}  // namespace

bool accessibilityAllowed(platform::System& sys) {
  if (sys.accessibility.isTrusted(false)) {
    return true;
  }
  platform::TapPort probe = sys.taps.createTap(platform::TapPlacement::tail, 0, allowed, nullptr);
  if (probe == nullptr) {
    return false;
  }
  sys.taps.invalidate(probe);
  return true;
}

void writeStatus(HelperState& state) {
  // Accessibility can be withdrawn while the helper runs; the app learns it
  // from here. Input Monitoring counts as missing only while the mouse could
  // not be opened and the system still refuses.
  const bool accessibility = accessibilityAllowed(state.system);
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
