// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <stdbool.h>
#include <stdint.h>

// Apple: CoreGraphics/CGBase.h
#define CG_EXTERN extern
#define CG_INLINE static inline
// UNSURE: the macOS 14 SDK may declare CGFloat in CoreFoundation/CFCGTypes.h,
// which CoreGraphics includes; CGFloat is double in 64-bit processes.
typedef double CGFloat;
