// Declarations for compile-checking only; never shipped or used on a Mac.
// The Mach types that IOKit's C interface is written in.
#pragma once

typedef unsigned int __darwin_natural_t;
typedef __darwin_natural_t mach_port_t;
typedef int kern_return_t;

// UNSURE: <mach/i386/boolean.h> makes boolean_t unsigned int for x86_64 user
// code and <mach/arm/boolean.h> makes it int; both convert from bool alike.
#if defined(__x86_64__)
typedef unsigned int boolean_t;
#else
typedef int boolean_t;
#endif

#define KERN_SUCCESS 0  // Apple: mach/kern_return.h
