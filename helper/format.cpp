#include "helper/format.h"

#include <locale.h>
#include <cstdarg>
#include <cstdio>
#if defined(__APPLE__)
#include <xlocale.h>
#endif

#include "common/decimal_text.h"

namespace quillon {

namespace {

// Switches the calling thread to the C locale for one scope; other threads
// and the process-wide locale are left alone.
class CLocaleScope {
 public:
  CLocaleScope() {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (cLocale != static_cast<locale_t>(nullptr)) previous_ = uselocale(cLocale);
  }
  ~CLocaleScope() {
    if (previous_ != static_cast<locale_t>(nullptr)) uselocale(previous_);
  }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t previous_ = static_cast<locale_t>(nullptr);
};

}  // namespace

std::string formatC(const char* format, ...) {
  CLocaleScope cLocale;
  char small[256];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string text;
  if (length < 0) {
    va_end(again);
    return text;
  }
  if (static_cast<size_t>(length) < sizeof small) {
    text.assign(small, static_cast<size_t>(length));
  } else {
    // %f of a huge value can run to hundreds of digits.
    text.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    text.resize(static_cast<size_t>(length));
  }
  va_end(again);
  return text;
}

std::string shortestDecimal(double v) {
  std::string text = shortestText(v);
  // "1e+21", "inf" and "nan" already are what they are; only plain digits
  // need the ".0" that marks a double.
  if (text.find_first_of(".eani") == std::string::npos) text += ".0";
  return text;
}

}  // namespace quillon
