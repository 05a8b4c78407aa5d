// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreGraphics/CGBase.h>

CF_EXTERN_C_BEGIN

// UNSURE: CoreGraphics/CGGeometry.h; the macOS 14 SDK may declare the three
// structs in CoreFoundation/CFCGTypes.h, which CoreGraphics includes.
struct CGPoint {
  CGFloat x;
  CGFloat y;
};
typedef struct CGPoint CGPoint;
struct CGSize {
  CGFloat width;
  CGFloat height;
};
typedef struct CGSize CGSize;
struct CGRect {
  CGPoint origin;
  CGSize size;
};
typedef struct CGRect CGRect;

// Apple: CoreGraphics/CGGeometry.h
CG_INLINE CGPoint CGPointMake(CGFloat x, CGFloat y) {
  CGPoint p;
  p.x = x;
  p.y = y;
  return p;
}

CF_EXTERN_C_END
