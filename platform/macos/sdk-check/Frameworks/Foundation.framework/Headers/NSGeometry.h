// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreGraphics/CoreGraphics.h>

// Apple: Foundation/NSGeometry.h
// Foundation's geometry is Core Graphics' (NSGeometry.h imports CGGeometry.h).
typedef CGPoint NSPoint;
typedef CGSize NSSize;
typedef CGRect NSRect;
