// Declarations for compile-checking only; never shipped or used on a Mac.
// The host's <fcntl.h>, plus the open flag that only Darwin has.
#pragma once

#include_next <fcntl.h>

#define O_EVTONLY 0x00008000  // Apple: sys/fcntl.h, open(2) flags
