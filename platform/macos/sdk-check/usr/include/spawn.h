// Declarations for compile-checking only; never shipped or used on a Mac.
// The host's <spawn.h> (posix_spawn, its file actions and attributes, and
// POSIX_SPAWN_SETSID), plus the flag that only Darwin has.
#pragma once

#include_next <spawn.h>

// Apple: spawn.h
// The child starts with every descriptor closed but those the file actions
// set up.
#define POSIX_SPAWN_CLOEXEC_DEFAULT 0x4000  // Apple: spawn.h, Darwin-specific flags
