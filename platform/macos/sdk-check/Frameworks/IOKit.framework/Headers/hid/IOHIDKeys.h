// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

// Apple: IOKit/hid/IOHIDKeys.h
enum {
  kIOHIDOptionsTypeNone = 0x00,  // Apple: IOKit/hid/IOHIDKeys.h, IOHIDOptionsType
};
