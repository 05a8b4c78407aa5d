// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/AppKitDefines.h>

// Apple: AppKit/NSEvent.h
typedef NS_ENUM(NSUInteger, NSEventType) {
  NSEventTypeLeftMouseDown = 1,       // Apple: AppKit/NSEvent.h, NSEventType
  NSEventTypeLeftMouseUp = 2,         // Apple: AppKit/NSEvent.h, NSEventType
  NSEventTypeRightMouseDown = 3,      // Apple: AppKit/NSEvent.h, NSEventType
  NSEventTypeRightMouseUp = 4,        // Apple: AppKit/NSEvent.h, NSEventType
  NSEventTypeMouseMoved = 5,          // Apple: AppKit/NSEvent.h, NSEventType
  NSEventTypeLeftMouseDragged = 6,    // Apple: AppKit/NSEvent.h, NSEventType
  NSEventTypeRightMouseDragged = 7,   // Apple: AppKit/NSEvent.h, NSEventType
  NSEventTypeOtherMouseDown = 25,     // Apple: AppKit/NSEvent.h, NSEventType
  NSEventTypeOtherMouseUp = 26,       // Apple: AppKit/NSEvent.h, NSEventType
  NSEventTypeOtherMouseDragged = 27,  // Apple: AppKit/NSEvent.h, NSEventType
};

// Apple: AppKit/NSEvent.h
typedef NS_OPTIONS(unsigned long long, NSEventMask) {
  NSEventMaskLeftMouseDown = 1ULL << NSEventTypeLeftMouseDown,    // Apple: AppKit/NSEvent.h
  NSEventMaskRightMouseDown = 1ULL << NSEventTypeRightMouseDown,  // Apple: AppKit/NSEvent.h
};

// Apple: AppKit/NSEvent.h
typedef NS_ENUM(short, NSEventSubtype) {
  NSEventSubtypeMouseEvent = 0,  // Apple: AppKit/NSEvent.h, NSEventSubtype
  NSEventSubtypeTouch = 3,       // Apple: AppKit/NSEvent.h, NSEventSubtype
};

// Apple: AppKit/NSEvent.h
@interface NSEvent : NSObject <NSCopying>
@property(readonly) NSEventType type;
// Raises NSInternalInconsistencyException for an event type without one.
@property(readonly) NSEventSubtype subtype;
+ (id)addGlobalMonitorForEventsMatchingMask:(NSEventMask)mask
                                    handler:(void (^)(NSEvent* event))block;
+ (void)removeMonitor:(id)eventMonitor;
@end
