#pragma once

#include <string>

namespace quillon {

// printf into a std::string, always in the C locale: summaries and preview
// rows are read by another program, so a decimal comma from a user's locale
// must never leak into them.
std::string formatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The shortest decimal text that reads back as the same double, with a
// fractional part when it would otherwise look like an integer: 0 -> "0.0",
// 10 -> "10.0", 0.05 -> "0.05", 1e21 -> "1e+21".
std::string shortestDecimal(double v);

}  // namespace quillon
