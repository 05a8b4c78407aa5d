#include "app/core/warning_line.h"

namespace quillon::app {

std::optional<WarningLine> warningLine(const WarningInputs& in) {
  if (!in.brokenConfig.empty()) {
    return WarningLine{
        "Couldn't read settings: " + in.brokenConfig + ". A copy was kept as config.json.broken.",
        WarningLine::Action::none, ""};
  }
  if (!in.helperNeeded || in.retryPending || in.setupOpen) return std::nullopt;
  if (!in.status.running) {
    return WarningLine{"Quillon Helper isn't running.", WarningLine::Action::restart, "Restart"};
  }
  if (!in.status.accessibility) {
    return WarningLine{"Quillon Helper needs Accessibility again.", WarningLine::Action::openSetup,
                       "Open Setup…"};
  }
  if (!in.status.inputMonitoring) {
    return WarningLine{"Quillon Helper needs Input Monitoring again.",
                       WarningLine::Action::openSetup, "Open Setup…"};
  }
  return std::nullopt;
}

}  // namespace quillon::app
