// Declarations for compile-checking only; never shipped or used on a Mac.
// The ApplicationServices umbrella: Core Foundation, Core Graphics, and the
// Accessibility trust check of its HIServices sub-framework. Declares
// nothing itself, as on a Mac.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>
#include <HIServices/HIServices.h>
