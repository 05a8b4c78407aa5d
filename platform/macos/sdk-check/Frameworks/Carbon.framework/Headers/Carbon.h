// Declarations for compile-checking only; never shipped or used on a Mac.
// The Carbon Event Manager's system-wide hot keys, declared ahead of the
// app's adapter (on a Mac they live in the HIToolbox sub-framework, reached
// through this umbrella).
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <MacTypes.h>

CF_EXTERN_C_BEGIN

typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
typedef struct OpaqueEventHotKeyRef* EventHotKeyRef;
typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                        void* inUserData);
typedef EventHandlerProcPtr EventHandlerUPP;
typedef OSType EventParamName;
typedef OSType EventParamType;

struct EventTypeSpec {
  OSType eventClass;
  UInt32 eventKind;
};
typedef struct EventTypeSpec EventTypeSpec;
struct EventHotKeyID {
  OSType signature;
  UInt32 id;
};
typedef struct EventHotKeyID EventHotKeyID;

enum {
  kEventClassKeyboard = 0x6B657962,      // 'keyb'; Apple: CarbonEvents.h, event classes
  kEventHotKeyPressed = 5,               // Apple: CarbonEvents.h, kEventClassKeyboard kinds
  kEventParamDirectObject = 0x2D2D2D2D,  // '----'; Apple: AEDataModel.h, keyDirectObject
  typeEventHotKeyID = 0x686B6964,        // 'hkid'; Apple: CarbonEvents.h, parameter types
};

// Modifier masks (Events.h): Control, Option and Command together are 0x1900.
enum {
  cmdKey = 1 << 8,       // Apple: HIToolbox/Events.h, EventModifiers
  shiftKey = 1 << 9,     // Apple: HIToolbox/Events.h, EventModifiers
  optionKey = 1 << 11,   // Apple: HIToolbox/Events.h, EventModifiers
  controlKey = 1 << 12,  // Apple: HIToolbox/Events.h, EventModifiers
};

EventTargetRef GetApplicationEventTarget(void);
EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr userRoutine);
OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler,
                             ItemCount inNumTypes, const EventTypeSpec* inList, void* inUserData,
                             EventHandlerRef* outRef);
OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef);
OSStatus RegisterEventHotKey(UInt32 inHotKeyCode, UInt32 inHotKeyModifiers,
                             EventHotKeyID inHotKeyID, EventTargetRef inTarget,
                             OptionBits inOptions, EventHotKeyRef* outRef);
OSStatus UnregisterEventHotKey(EventHotKeyRef inHotKey);
OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType* outActualType, ByteCount inBufferSize,
                           ByteCount* outActualSize, void* outData);

CF_EXTERN_C_END
