#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// Doubles to and from decimal text in the C locale, whatever locale the
// process runs in (Qt sets the user's at start-up).
//
// Apple's libc++ has no floating-point std::from_chars, and its to_chars
// for doubles needs macOS 13.3, above the app's minimum. Elsewhere these
// are the standard library's; on Apple, the same results through the C
// library in a "C" locale.

// A whole text in std::from_chars's general format: an optional '-',
// digits with an optional point and exponent, or "inf"/"nan". Nothing for
// anything else, including texts out of a double's range.
std::optional<double> parseDecimal(std::string_view text);

// The shortest text that reads back as `v`, as std::to_chars(first, last, v)
// writes it: "0.1", "1e+21", "-inf".
std::string shortestText(double v);

// printf's "%.<decimals>f" in the C locale.
std::string fixedText(double v, int decimals);

namespace detail {
// The C library's versions, built everywhere so that they are tested
// against the standard library's here.
std::optional<double> parseDecimalC(std::string_view text);
std::string shortestTextC(double v);
std::string fixedTextC(double v, int decimals);
}  // namespace detail

}  // namespace quillon
