// Declarations for compile-checking only; never shipped or used on a Mac.
// The Core Foundation umbrella: declares nothing itself, as on a Mac.
// Object types carry Apple's toll-free bridging attributes, so an ARC
// __bridge cast to the wrong Foundation class is reported.
#pragma once

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFAvailability.h>
#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFMachPort.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFPreferences.h>
#include <CoreFoundation/CFRunLoop.h>
#include <CoreFoundation/CFString.h>
