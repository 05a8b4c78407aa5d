#pragma once

namespace quillon {

// The helper's usage text: eight lines, each ended by a line feed. Printed
// for no command, an unknown command and a bad `preview` option.
const char* usageText();

}  // namespace quillon
