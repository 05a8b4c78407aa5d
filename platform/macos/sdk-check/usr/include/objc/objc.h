// Declarations for compile-checking only; never shipped or used on a Mac.
// The Objective-C runtime's basic types, as <objc/objc.h> declares them.
#pragma once

// Apple: objc/objc.h
typedef struct objc_class* Class;
struct objc_object {
  Class isa;
};
typedef struct objc_object* id;
typedef struct objc_selector* SEL;
// UNSURE: the SDK's objc.h has this form when OBJC_OLD_DISPATCH_PROTOTYPES
// is 0 and id (*)(id, SEL, ...) otherwise; callers cast it to the method's
// own function type before calling it, which compiles against both.
typedef void (*IMP)(void);

// Apple: objc/objc.h
// BOOL is bool on arm64 and signed char on x86_64; clang says which.
#if __OBJC_BOOL_IS_BOOL
typedef bool BOOL;
#else
typedef signed char BOOL;
#endif
#define YES ((BOOL)1)
#define NO ((BOOL)0)

// Apple: objc/objc.h
#ifndef nil
#define nil nullptr
#endif
