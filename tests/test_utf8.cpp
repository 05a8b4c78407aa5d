#include <string>
#include <string_view>

#include "common/utf8.h"
#include "gtest/gtest.h"

namespace quillon {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

TEST(UTF8, IllFormedSequencesAreReplacedAndTheRestKept) {
  struct Case {
    const char* name;
    std::string text;
    std::string valid;
  };
  const std::string r(kReplacement);
  const Case cases[] = {
      {"ASCII", "last read: '5'", "last read: '5'"},
      {"whole two-byte", "1.00\xC3\x97", "1.00\xC3\x97"},
      {"whole four-byte", "\xF0\x9F\x96\xB1!", "\xF0\x9F\x96\xB1!"},
      {"lead byte cut before a quote", "'\"trackpad\": \xC3'", "'\"trackpad\": " + r + "'"},
      {"cut at the end", "ab\xE2\x80", "ab" + r},
      {"four-byte form cut", "\xF0\x9F\x96x", r + "x"},
      {"stray continuation", "a\x80z", "a" + r + "z"},
      {"overlong slash", "\xC0\xAF/", r + "/"},
      {"UTF-16 surrogate", "\xED\xA0\x80.", r + "."},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", r},
      {"never a lead byte", "\xFF\xFE{}", r + r + "{}"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(validUTF8(c.text), c.valid);
    EXPECT_TRUE(isUTF8(c.valid));
    EXPECT_EQ(isUTF8(c.text), c.text == c.valid);
  }
}

}  // namespace
}  // namespace quillon
