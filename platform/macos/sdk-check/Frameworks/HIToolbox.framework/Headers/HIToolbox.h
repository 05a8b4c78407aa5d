// Declarations for compile-checking only; never shipped or used on a Mac.
// On a Mac, HIToolbox is a sub-framework of Carbon, reached only through
// that umbrella; here it is a framework of its own, at the same include
// path (<HIToolbox/...>).
#pragma once

#include <HIToolbox/CarbonEvents.h>
#include <HIToolbox/CarbonEventsCore.h>
#include <HIToolbox/Events.h>
