#pragma once

#include <string>

#include "helper/state.h"

namespace quillon {

// The one-line JSON of status.json, members in their fixed order.
std::string statusText(const HelperState& state, bool accessibility, bool inputMonitoring);

// Whether the helper may watch events now: trusted for Accessibility or,
// as being trusted can lag behind, allowed to create an event tap (a probe,
// made and dropped at once). Main thread only.
bool accessibilityAllowed(platform::System& sys);

// Looks at both permissions as they are now, and writes status.json
// atomically when its text differs from the one last written; a failed
// write is not retried until the text changes again. Main thread only.
void writeStatus(HelperState& state);

}  // namespace quillon
