#include "common/decimal_text.h"

#include <locale.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#if defined(__APPLE__)
#include <xlocale.h>
#else
#include <charconv>
#endif

namespace quillon {

namespace {

// Switches this thread to the "C" locale for the object's life.
class CLocale {
 public:
  CLocale() : previous_(uselocale(c())) {}
  ~CLocale() { uselocale(previous_); }
  CLocale(const CLocale&) = delete;
  CLocale& operator=(const CLocale&) = delete;

 private:
  static locale_t c() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
  }
  locale_t previous_;
};

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// What from_chars's general format accepts, checked before strtod, which
// would also take spaces, a '+', hexadecimal and "infinity".
bool fromCharsShape(std::string_view t) {
  if (!t.empty() && t[0] == '-') t.remove_prefix(1);
  auto named = [&](std::string_view name) {
    return t.size() == name.size() && std::equal(t.begin(), t.end(), name.begin(),
                                                 [](char a, char b) { return (a | 0x20) == b; });
  };
  if (named("inf") || named("infinity") || named("nan")) return true;
  std::size_t i = 0, digits = 0;
  while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    std::size_t expStart = j;
    while (j < t.size() && isDigit(t[j])) ++j;
    if (j > expStart) i = j;  // "1e" reads as 1 followed by text
  }
  return i == t.size();
}

}  // namespace

namespace detail {

std::optional<double> parseDecimalC(std::string_view text) {
  if (!fromCharsShape(text)) return std::nullopt;
  const std::string copy(text);
  const CLocale c;
  errno = 0;
  char* end = nullptr;
  const double v = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size()) return std::nullopt;
  // Overflow gives ±HUGE_VAL, underflow a result of magnitude at most the
  // smallest normal double; both with ERANGE, as from_chars's out of range.
  if (errno == ERANGE && (std::isinf(v) || std::fabs(v) <= 2.2250738585072014e-308))
    return std::nullopt;
  return v;
}

std::string shortestTextC(double v) {
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  if (v == 0) return std::signbit(v) ? "-0" : "0";
  const CLocale c;
  // The fewest significant digits that read back as v, in scientific form.
  char sci[40];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(sci, sizeof sci, "%.*e", precision - 1, v);
    if (std::strtod(sci, nullptr) == v) break;
  }
  // Split "-d.ddde±XX" into sign, digits and exponent.
  std::string s(sci);
  const bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  const std::size_t e = s.find('e');
  std::string digits = s.substr(0, e);
  if (digits.size() > 1) digits.erase(1, 1);  // the point
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exponent = std::atoi(s.c_str() + e + 1);
  const int n = static_cast<int>(digits.size());

  std::string scientific = digits.substr(0, 1);
  if (n > 1) scientific += "." + digits.substr(1);
  char exp[16];
  std::snprintf(exp, sizeof exp, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  scientific += exp;

  std::string fixed;
  if (exponent < 0) {
    fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else if (exponent + 1 >= n) {
    // A whole number: to_chars gives its exact digits, as printf does, not
    // the shortest digits padded with zeros.
    char whole[320];
    std::snprintf(whole, sizeof whole, "%.0f", std::fabs(v));
    fixed = whole;
  } else {
    const std::size_t point = static_cast<std::size_t>(exponent) + 1;
    fixed = digits.substr(0, point) + "." + digits.substr(point);
  }
  // As to_chars: scientific only when it is strictly shorter.
  return (negative ? "-" : "") + (scientific.size() < fixed.size() ? scientific : fixed);
}

std::string fixedTextC(double v, int decimals) {
  const CLocale c;
  const int length = std::snprintf(nullptr, 0, "%.*f", decimals, v);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%.*f", decimals, v);
  text.pop_back();
  return text;
}

}  // namespace detail

#if defined(__APPLE__)

std::optional<double> parseDecimal(std::string_view text) {
  return detail::parseDecimalC(text);
}
std::string shortestText(double v) {
  return detail::shortestTextC(v);
}
std::string fixedText(double v, int decimals) {
  return detail::fixedTextC(v, decimals);
}

#else

std::optional<double> parseDecimal(std::string_view text) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return v;
}

std::string shortestText(double v) {
  char text[32];  // the longest shortest form has 24 characters
  const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
  return ec == std::errc{} ? std::string(text, end) : std::string();
}

std::string fixedText(double v, int decimals) {
  // "%.Nf" of 1e308 has 309 digits before the point.
  std::string text(static_cast<std::size_t>(std::max(decimals, 0)) + 320, '\0');
  const auto [end, ec] =
      std::to_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed, decimals);
  if (ec != std::errc{}) return detail::fixedTextC(v, decimals);
  text.resize(static_cast<std::size_t>(end - text.data()));
  return text;
}

#endif

}  // namespace quillon
