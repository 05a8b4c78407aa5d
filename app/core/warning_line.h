#pragma once

// The panel's warning line: one sentence at the top of the panel when the
// settings cannot be doing what they say, with at most one button.

#include <optional>
#include <string>

#include "app/core/helper_control.h"

namespace quillon::app {

struct WarningLine {
  enum class Action { none, restart, openSetup };
  std::string text;
  Action action = Action::none;
  // The button's title; empty for Action::none.
  std::string button;
  friend bool operator==(const WarningLine&, const WarningLine&) = default;
};

struct WarningInputs {
  Helper::Status status;
  // The settings give the helper something to do.
  bool helperNeeded = false;
  // A check or re-registration of the helper is still to come: it may be
  // on its way up.
  bool retryPending = false;
  // The setup window is open and shows the same thing itself.
  bool setupOpen = false;
  // Why config.json could not be read; empty when it could.
  std::string brokenConfig;
};

// What the line shows, or nothing. An unreadable settings file comes first:
// the next save replaces it.
std::optional<WarningLine> warningLine(const WarningInputs& in);

}  // namespace quillon::app
