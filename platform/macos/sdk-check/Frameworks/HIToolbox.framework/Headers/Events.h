// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

// Apple: HIToolbox/Events.h
// Modifier masks: Control, Option and Command together are 0x1900.
enum {
  cmdKey = 1 << 8,       // Apple: HIToolbox/Events.h, EventModifiers
  shiftKey = 1 << 9,     // Apple: HIToolbox/Events.h, EventModifiers
  optionKey = 1 << 11,   // Apple: HIToolbox/Events.h, EventModifiers
  controlKey = 1 << 12,  // Apple: HIToolbox/Events.h, EventModifiers
};
