// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

// Apple: CoreFoundation/CFNumber.h
typedef const struct CF_BRIDGED_TYPE(NSNumber) __CFBoolean* CFBooleanRef;
CF_EXPORT CFTypeID CFBooleanGetTypeID(void);
CF_EXPORT const CFBooleanRef kCFBooleanTrue;
CF_EXPORT const CFBooleanRef kCFBooleanFalse;
CF_EXPORT Boolean CFBooleanGetValue(CFBooleanRef boolean);

// Apple: CoreFoundation/CFNumber.h
typedef const struct CF_BRIDGED_TYPE(NSNumber) __CFNumber* CFNumberRef;
typedef CF_ENUM(CFIndex, CFNumberType) {
  kCFNumberSInt32Type = 3,   // Apple: CoreFoundation/CFNumber.h, CFNumberType
  kCFNumberSInt64Type = 4,   // Apple: CoreFoundation/CFNumber.h, CFNumberType
  kCFNumberDoubleType = 13,  // Apple: CoreFoundation/CFNumber.h, CFNumberType
};
CF_EXPORT CFTypeID CFNumberGetTypeID(void);
CF_EXPORT CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType theType,
                                     const void* valuePtr);
CF_EXPORT Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr);
CF_EXPORT Boolean CFNumberIsFloatType(CFNumberRef number);

CF_EXTERN_C_END
