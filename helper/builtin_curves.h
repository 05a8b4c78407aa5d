#pragma once

#include <string_view>

namespace quillon {

// The two built-in Windows measurement files (helper/data/*.json), embedded
// at build time as UTF-8 text.
extern const std::string_view builtinTrackpadCurve;
extern const std::string_view builtinMouseCurve;

}  // namespace quillon
