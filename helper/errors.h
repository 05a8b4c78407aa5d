#pragma once

#include <stdexcept>
#include <string>

namespace quillon {

// The error the curve code throws: domain "quillon", code 1, the message as
// its description. Reporters show what() alone.
class CurveError : public std::runtime_error {
 public:
  explicit CurveError(const std::string& message) : std::runtime_error(message) {}
  static constexpr const char* kDomain = "quillon";
  static constexpr int kCode = 1;
};

[[noreturn]] inline void fail(const std::string& message) {
  throw CurveError(message);
}

}  // namespace quillon
