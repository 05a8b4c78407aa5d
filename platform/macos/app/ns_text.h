#pragma once

// Text between std::string and NSString, for the app's Objective-C++
// adapters.

#import <Foundation/Foundation.h>

#include <string>

namespace quillon::platform::macos {

// Nil when the text is not valid UTF-8.
inline NSString* nsString(const std::string& text) {
  return [NSString stringWithUTF8String:text.c_str()];
}

// Empty for nil (and for a string that cannot be converted).
inline std::string fromNS(NSString* text) {
  const char* utf8 = text.UTF8String;
  return utf8 != nullptr ? std::string(utf8) : std::string();
}

}  // namespace quillon::platform::macos
