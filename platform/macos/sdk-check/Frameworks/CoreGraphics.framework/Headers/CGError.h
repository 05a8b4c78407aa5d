// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreGraphics/CGBase.h>

// Apple: CoreGraphics/CGError.h
typedef CF_ENUM(int32_t, CGError) {
  kCGErrorSuccess = 0,  // Apple: CoreGraphics/CGError.h, CGError
};
