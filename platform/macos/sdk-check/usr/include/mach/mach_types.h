// Declarations for compile-checking only; never shipped or used on a Mac.
// The Mach types that IOKit's C interface is written in; declares nothing
// itself here.
#pragma once

#include <mach/boolean.h>
#include <mach/kern_return.h>
#include <mach/port.h>
