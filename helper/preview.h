#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "helper/screens.h"

namespace quillon {

// `preview` with the options that follow the command word. Prints one line
// to `out`; returns the exit status.
int runPreview(const std::vector<std::string>& options, Screens& screens, std::FILE* out);

}  // namespace quillon
