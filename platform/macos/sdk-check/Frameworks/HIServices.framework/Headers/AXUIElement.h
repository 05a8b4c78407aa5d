// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

// Apple: HIServices/AXUIElement.h
extern CFStringRef kAXTrustedCheckOptionPrompt;
extern Boolean AXIsProcessTrustedWithOptions(CFDictionaryRef options) API_AVAILABLE(macos(10.9));

CF_EXTERN_C_END
