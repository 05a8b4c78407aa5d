#pragma once

// Core Foundation ownership and text conversion, shared by the app's C
// adapters.

#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace quillon::platform::macos {

// Owns one reference (from a Create or Copy call) and releases it.
template <typename Ref>
class CFOwned {
 public:
  explicit CFOwned(Ref ref = nullptr) : ref_(ref) {}
  ~CFOwned() {
    if (ref_ != nullptr) CFRelease(ref_);
  }
  CFOwned(CFOwned&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
  CFOwned& operator=(CFOwned&& other) noexcept {
    std::swap(ref_, other.ref_);
    return *this;
  }
  CFOwned(const CFOwned&) = delete;
  CFOwned& operator=(const CFOwned&) = delete;

  Ref get() const { return ref_; }
  explicit operator bool() const { return ref_ != nullptr; }

 private:
  Ref ref_;
};

// Null when the text is not valid UTF-8.
inline CFOwned<CFStringRef> cfString(const std::string& text) {
  return CFOwned<CFStringRef>(
      CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8));
}

inline CFOwned<CFNumberRef> cfInteger(int64_t value) {
  return CFOwned<CFNumberRef>(CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt64Type, &value));
}

// Nullopt when `value` is not a string.
inline std::optional<std::string> fromCF(CFTypeRef value) {
  if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID()) return std::nullopt;
  auto text = static_cast<CFStringRef>(value);
  const CFIndex size =
      CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), kCFStringEncodingUTF8) + 1;
  std::string out(static_cast<size_t>(size), '\0');
  if (!CFStringGetCString(text, out.data(), size, kCFStringEncodingUTF8)) return std::nullopt;
  out.resize(out.find('\0'));
  return out;
}

}  // namespace quillon::platform::macos
