// Declarations for compile-checking only; never shipped or used on a Mac.
// The platform switches as a Mac sets them. Darwin's clang rejects an
// undefined TARGET_OS_ name in #if, so every one read must be defined.
#pragma once

// Apple: TargetConditionals.h
#define TARGET_OS_MAC 1
#define TARGET_OS_OSX 1
#define TARGET_OS_IPHONE 0
#define TARGET_OS_IOS 0
#define TARGET_OS_TV 0
#define TARGET_OS_WATCH 0
#define TARGET_OS_SIMULATOR 0
