// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

// UNSURE: mach/port.h, which takes natural_t from the machine's own
// <mach/machine/vm_types.h>.
typedef unsigned int __darwin_natural_t;
typedef __darwin_natural_t mach_port_t;
