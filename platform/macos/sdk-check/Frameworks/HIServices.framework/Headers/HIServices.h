// Declarations for compile-checking only; never shipped or used on a Mac.
// On a Mac, HIServices is a sub-framework of ApplicationServices, reached
// only through that umbrella; here it is a framework of its own, at the
// same include path (<HIServices/...>).
#pragma once

#include <HIServices/AXUIElement.h>
