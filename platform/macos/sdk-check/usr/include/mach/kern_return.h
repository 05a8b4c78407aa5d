// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

// UNSURE: mach/kern_return.h, which takes kern_return_t from the machine's
// own <mach/machine/kern_return.h>.
typedef int kern_return_t;

#define KERN_SUCCESS 0  // Apple: mach/kern_return.h
