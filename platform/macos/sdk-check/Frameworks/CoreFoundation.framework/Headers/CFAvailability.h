// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <os/availability.h>

// Apple: CoreFoundation/CFAvailability.h
// An enum with a fixed underlying type: in C++ a value of another enum or a
// plain integer does not convert to it.
#define CF_ENUM(_type, _name) \
  enum _name : _type _name;   \
  enum _name : _type
// Flags: in C++ the type is the integer itself, the values an anonymous enum.
#define CF_OPTIONS(_type, _name) \
  _type _name;                   \
  enum : _name
