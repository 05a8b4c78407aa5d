// Declarations for compile-checking only; never shipped or used on a Mac.
// The Carbon umbrella, for the Event Manager's system-wide hot keys of its
// HIToolbox sub-framework. Declares nothing itself, as on a Mac.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/HIToolbox.h>
