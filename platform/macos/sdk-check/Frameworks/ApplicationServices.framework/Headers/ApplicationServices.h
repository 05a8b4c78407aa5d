// Declarations for compile-checking only; never shipped or used on a Mac.
// The ApplicationServices umbrella: Core Foundation, Core Graphics, and the
// Accessibility trust check. On a Mac the Accessibility calls live in the
// HIServices sub-framework (AXUIElement.h), reached only through this
// umbrella; they are declared here directly.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>

CF_EXTERN_C_BEGIN

extern CFStringRef kAXTrustedCheckOptionPrompt;
extern Boolean AXIsProcessTrustedWithOptions(CFDictionaryRef options) API_AVAILABLE(macos(10.9));

CF_EXTERN_C_END
