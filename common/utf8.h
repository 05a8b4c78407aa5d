#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong
// forms, no UTF-16 surrogates, nothing beyond U+10FFFF.
bool isUTF8(std::string_view text);

// `text` with each ill-formed sequence replaced by U+FFFD, every other byte
// kept. A parser's message quotes the bytes it stopped at, and may cut a
// character in two: "last read: '\xC3'" for a "×" becomes
// "last read: '\uFFFD'", which a log line or a label can carry.
std::string validUTF8(std::string_view text);

}  // namespace quillon
