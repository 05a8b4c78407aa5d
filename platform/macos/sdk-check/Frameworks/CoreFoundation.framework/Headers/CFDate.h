// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

// Apple: CoreFoundation/CFDate.h
typedef double CFTimeInterval;
typedef CFTimeInterval CFAbsoluteTime;
CF_EXPORT CFAbsoluteTime CFAbsoluteTimeGetCurrent(void);

CF_EXTERN_C_END
