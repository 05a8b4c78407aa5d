// Declarations for compile-checking only; never shipped or used on a Mac.
// The Mac's basic types, as <MacTypes.h> declares them for 64-bit processes.
#pragma once

#include <stdint.h>

// Apple: MacTypes.h
typedef unsigned char UInt8;
typedef unsigned short UInt16;
typedef unsigned int UInt32;
typedef signed int SInt32;
typedef unsigned long long UInt64;
typedef signed long long SInt64;
typedef unsigned char Boolean;
typedef SInt32 OSStatus;
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef UInt32 OptionBits;
typedef unsigned long ItemCount;
typedef unsigned long ByteCount;

// Apple: MacTypes.h
enum {
  noErr = 0,  // Apple: MacTypes.h
};
