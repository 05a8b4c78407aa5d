#include "common/utf8.h"

#include <cstdint>

namespace quillon {

namespace {

bool isContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The length of the well-formed sequence at the start of `text`, or 0.
size_t sequenceLength(std::string_view text) {
  const auto c = static_cast<unsigned char>(text[0]);
  if (c < 0x80) return 1;
  size_t extra;
  uint32_t min;
  uint32_t cp;
  if ((c & 0xE0) == 0xC0) {
    extra = 1, min = 0x80, cp = c & 0x1Fu;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2, min = 0x800, cp = c & 0x0Fu;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3, min = 0x10000, cp = c & 0x07u;
  } else {
    return 0;
  }
  if (text.size() <= extra) return 0;
  for (size_t k = 1; k <= extra; ++k) {
    if (!isContinuation(text[k])) return 0;
    cp = (cp << 6) | (static_cast<unsigned char>(text[k]) & 0x3Fu);
  }
  if (cp < min || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
  return extra + 1;
}

}  // namespace

bool isUTF8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t n = sequenceLength(text.substr(i));
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string validUTF8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (const size_t n = sequenceLength(text.substr(i)); n != 0) {
      out.append(text, i, n);
      i += n;
      continue;
    }
    // One replacement for a lead byte and the continuation bytes after it,
    // at most three of them (a four-byte form's).
    size_t bad = 1;
    while (bad < 4 && i + bad < text.size() && isContinuation(text[i + bad])) ++bad;
    out += "\xEF\xBF\xBD";
    i += bad;
  }
  return out;
}

}  // namespace quillon
