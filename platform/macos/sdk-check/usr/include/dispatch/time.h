// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Apple: dispatch/time.h
typedef uint64_t dispatch_time_t;
dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta);

#define DISPATCH_TIME_NOW (0ull)    // Apple: dispatch/time.h
#define NSEC_PER_SEC 1000000000ull  // Apple: dispatch/time.h

#ifdef __cplusplus
}
#endif
