// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

// UNSURE: mach/boolean.h, which takes boolean_t from the machine's own
// header: <mach/i386/boolean.h> makes it unsigned int for x86_64 user code,
// <mach/arm/boolean.h> int; both convert from bool alike.
#if defined(__x86_64__)
typedef unsigned int boolean_t;
#else
typedef int boolean_t;
#endif
