// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreGraphics/CGBase.h>
#include <CoreGraphics/CGError.h>
#include <CoreGraphics/CGGeometry.h>
#include <mach/boolean.h>

CF_EXTERN_C_BEGIN

// Apple: CoreGraphics/CGRemoteOperation.h
CG_EXTERN CGError CGWarpMouseCursorPosition(CGPoint newCursorPosition);
CG_EXTERN CGError CGAssociateMouseAndMouseCursorPosition(boolean_t connected);

CF_EXTERN_C_END
