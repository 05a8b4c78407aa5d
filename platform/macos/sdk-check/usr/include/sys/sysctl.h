// Declarations for compile-checking only; never shipped or used on a Mac.
// Darwin's sysctl by name; the host's C library has no <sys/sysctl.h>.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Apple: sys/sysctl.h
int sysctlbyname(const char* name, void* oldp, size_t* oldlenp, void* newp, size_t newlen);

#ifdef __cplusplus
}
#endif
