#pragma once

#include <string>

#include "helper/state.h"

namespace quillon {

// The one-line JSON of status.json, members in their fixed order.
std::string statusText(const HelperState& state, bool accessibility, bool inputMonitoring);

// Writes status.json atomically when its text differs from the one last
// written; a failed write is not retried until the text changes again.
// Main thread only.
void writeStatus(HelperState& state, bool accessibility);

}  // namespace quillon
