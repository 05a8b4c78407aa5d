// Declarations for compile-checking only; never shipped or used on a Mac.
// Darwin's way to the process's environment: `environ` is not declared by
// <unistd.h> on a Mac and not reachable from a library.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Apple: crt_externs.h
char*** _NSGetEnviron(void);

#ifdef __cplusplus
}
#endif
