// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <HIToolbox/CarbonEventsCore.h>

CF_EXTERN_C_BEGIN

// Apple: HIToolbox/CarbonEvents.h
typedef struct OpaqueEventHotKeyRef* EventHotKeyRef;
struct EventHotKeyID {
  OSType signature;
  UInt32 id;
};
typedef struct EventHotKeyID EventHotKeyID;

// Apple: HIToolbox/CarbonEvents.h
// kEventParamDirectObject has the value of AEDataModel.h's keyDirectObject.
enum {
  kEventClassKeyboard = 0x6B657962,      // 'keyb'; Apple: HIToolbox/CarbonEvents.h, event classes
  kEventHotKeyPressed = 5,               // Apple: HIToolbox/CarbonEvents.h, keyboard event kinds
  kEventParamDirectObject = 0x2D2D2D2D,  // '----'; Apple: HIToolbox/CarbonEvents.h, parameters
  typeEventHotKeyID = 0x686B6964,        // 'hkid'; Apple: HIToolbox/CarbonEvents.h, parameter types
};

// Apple: HIToolbox/CarbonEvents.h
EventTargetRef GetApplicationEventTarget(void);
OSStatus RegisterEventHotKey(UInt32 inHotKeyCode, UInt32 inHotKeyModifiers,
                             EventHotKeyID inHotKeyID, EventTargetRef inTarget,
                             OptionBits inOptions, EventHotKeyRef* outRef);
OSStatus UnregisterEventHotKey(EventHotKeyRef inHotKey);

CF_EXTERN_C_END
