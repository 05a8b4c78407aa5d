// Declarations for compile-checking only; never shipped or used on a Mac.
// Darwin's open flags that the host's C library lacks; the host's own
// <sys/fcntl.h> comes first.
#pragma once

#include_next <sys/fcntl.h>

// Apple: sys/fcntl.h, open(2) flags
#define O_EVTONLY 0x00008000  // Apple: sys/fcntl.h, open(2) flags
