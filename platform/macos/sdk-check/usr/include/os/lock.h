// Declarations for compile-checking only; never shipped or used on a Mac.
// The unfair lock, as <os/lock.h> declares it (macOS 10.12 and later).
#pragma once

#include <os/availability.h>
#include <stdint.h>

// Apple: os/lock.h
typedef struct os_unfair_lock_s {
  uint32_t _os_unfair_lock_opaque;
} os_unfair_lock, *os_unfair_lock_t;

// Apple: os/lock.h
#if defined(__cplusplus) && __cplusplus >= 201103L
#define OS_UNFAIR_LOCK_INIT (os_unfair_lock{})
#else
#define OS_UNFAIR_LOCK_INIT ((os_unfair_lock){0})
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Apple: os/lock.h
API_AVAILABLE(macos(10.12)) void os_unfair_lock_lock(os_unfair_lock_t lock);
// OS_WARN_RESULT on the Mac: ignoring whether the lock was taken is a warning.
API_AVAILABLE(macos(10.12))
__attribute__((warn_unused_result)) bool os_unfair_lock_trylock(os_unfair_lock_t lock);
API_AVAILABLE(macos(10.12)) void os_unfair_lock_unlock(os_unfair_lock_t lock);

#ifdef __cplusplus
}
#endif
