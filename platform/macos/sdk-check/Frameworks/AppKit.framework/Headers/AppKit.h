// Declarations for compile-checking only; never shipped or used on a Mac.
// AppKit's classes as the adapters use them. Objective-C only.
#pragma once

#import <Foundation/Foundation.h>

#define APPKIT_EXTERN extern

@class NSScreen;
@class NSWindow;

// NSRunningApplication.h
typedef NS_OPTIONS(NSUInteger, NSApplicationActivationOptions) {
  NSApplicationActivateIgnoringOtherApps = 1 << 1,  // Apple: NSRunningApplication.h
};

@interface NSRunningApplication : NSObject
+ (NSArray<NSRunningApplication*>*)runningApplicationsWithBundleIdentifier:
    (NSString*)bundleIdentifier;
+ (instancetype)runningApplicationWithProcessIdentifier:(pid_t)pid;
@property(readonly) pid_t processIdentifier;
@property(readonly, copy) NSString* bundleIdentifier;
@property(readonly, getter=isTerminated) BOOL terminated;
- (BOOL)terminate;
- (BOOL)forceTerminate;
- (BOOL)activateWithOptions:(NSApplicationActivationOptions)options;
@end

// NSWorkspace.h
@interface NSWorkspace : NSObject
@property(class, readonly, strong) NSWorkspace* sharedWorkspace;
@property(readonly, strong) NSNotificationCenter* notificationCenter;
- (BOOL)openURL:(NSURL*)url;
- (void)activateFileViewerSelectingURLs:(NSArray<NSURL*>*)fileURLs;
// The handler runs on a queue of the workspace's choosing.
- (void)recycleURLs:(NSArray<NSURL*>*)URLs
    completionHandler:(void (^)(NSDictionary<NSURL*, NSURL*>* newURLs, NSError* error))handler;
@end

APPKIT_EXTERN NSNotificationName const NSWorkspaceDidWakeNotification;

// NSAppearance.h
typedef NSString* NSAppearanceName;
APPKIT_EXTERN NSAppearanceName const NSAppearanceNameAqua API_AVAILABLE(macos(10.9));
APPKIT_EXTERN NSAppearanceName const NSAppearanceNameDarkAqua API_AVAILABLE(macos(10.14));

@interface NSAppearance : NSObject
- (NSAppearanceName)bestMatchFromAppearancesWithNames:(NSArray<NSAppearanceName>*)appearances
    API_AVAILABLE(macos(10.14));
@end

// NSResponder.h
@interface NSResponder : NSObject
- (void)cancelOperation:(id)sender;
@end

// NSEvent.h
typedef NS_ENUM(NSUInteger, NSEventType) {
  NSEventTypeLeftMouseDown = 1,       // Apple: NSEvent.h, NSEventType
  NSEventTypeLeftMouseUp = 2,         // Apple: NSEvent.h, NSEventType
  NSEventTypeRightMouseDown = 3,      // Apple: NSEvent.h, NSEventType
  NSEventTypeRightMouseUp = 4,        // Apple: NSEvent.h, NSEventType
  NSEventTypeMouseMoved = 5,          // Apple: NSEvent.h, NSEventType
  NSEventTypeLeftMouseDragged = 6,    // Apple: NSEvent.h, NSEventType
  NSEventTypeRightMouseDragged = 7,   // Apple: NSEvent.h, NSEventType
  NSEventTypeOtherMouseDown = 25,     // Apple: NSEvent.h, NSEventType
  NSEventTypeOtherMouseUp = 26,       // Apple: NSEvent.h, NSEventType
  NSEventTypeOtherMouseDragged = 27,  // Apple: NSEvent.h, NSEventType
};

typedef NS_OPTIONS(unsigned long long, NSEventMask) {
  NSEventMaskLeftMouseDown = 1ULL << NSEventTypeLeftMouseDown,    // Apple: NSEvent.h, NSEventMask
  NSEventMaskRightMouseDown = 1ULL << NSEventTypeRightMouseDown,  // Apple: NSEvent.h, NSEventMask
};

typedef NS_ENUM(short, NSEventSubtype) {
  NSEventSubtypeMouseEvent = 0,  // Apple: NSEvent.h, NSEventSubtype
  NSEventSubtypeTouch = 3,       // Apple: NSEvent.h, NSEventSubtype
};

@interface NSEvent : NSObject <NSCopying>
@property(readonly) NSEventType type;
// Raises NSInternalInconsistencyException for an event type without one.
@property(readonly) NSEventSubtype subtype;
+ (id)addGlobalMonitorForEventsMatchingMask:(NSEventMask)mask
                                    handler:(void (^)(NSEvent* event))block;
+ (void)removeMonitor:(id)eventMonitor;
@end

// NSApplication.h
@protocol NSApplicationDelegate <NSObject>
@end

@interface NSApplication : NSResponder
@property(class, readonly, strong) NSApplication* sharedApplication;
@property(weak) id<NSApplicationDelegate> delegate;
@property(readonly, strong) NSEvent* currentEvent;
@property(readonly, strong) NSAppearance* effectiveAppearance API_AVAILABLE(macos(10.14));
- (void)activateIgnoringOtherApps:(BOOL)flag;
- (void)terminate:(id)sender;
@end

APPKIT_EXTERN __kindof NSApplication* NSApp;
APPKIT_EXTERN NSNotificationName const NSApplicationDidFinishLaunchingNotification;
APPKIT_EXTERN NSNotificationName const NSApplicationDidResignActiveNotification;

// NSAccessibilityConstants.h, NSAccessibility.h
typedef NSString* NSAccessibilityNotificationName;
typedef NSString* NSAccessibilityNotificationUserInfoKey;
APPKIT_EXTERN NSAccessibilityNotificationName const NSAccessibilityAnnouncementRequestedNotification
    API_AVAILABLE(macos(10.7));
APPKIT_EXTERN NSAccessibilityNotificationUserInfoKey const NSAccessibilityAnnouncementKey
    API_AVAILABLE(macos(10.7));
APPKIT_EXTERN void NSAccessibilityPostNotificationWithUserInfo(
    id element, NSAccessibilityNotificationName notification,
    NSDictionary<NSAccessibilityNotificationUserInfoKey, id>* _Nullable userInfo)
    API_AVAILABLE(macos(10.7));

// NSImage.h
@interface NSImage : NSObject <NSCopying>
+ (instancetype)imageWithSystemSymbolName:(NSString*)name
                 accessibilityDescription:(NSString*)description API_AVAILABLE(macos(11.0));
@end

// NSView.h, NSControl.h, NSButton.h
@interface NSView : NSResponder
@property(readonly, unsafe_unretained) NSWindow* window;
@property NSRect bounds;
- (NSRect)convertRect:(NSRect)rect toView:(NSView*)view;
@end

@interface NSControl : NSView
@property(weak) id target;
@property SEL action;
@end

@interface NSButton : NSControl
@property(strong) NSImage* image;
- (void)highlight:(BOOL)flag;
@end

// NSStatusBar.h, NSStatusItem.h, NSStatusBarButton.h
@interface NSStatusBarButton : NSButton
@end

@interface NSStatusItem : NSObject
@property(readonly, strong) NSStatusBarButton* button;
@end

// A static const CGFloat of -2 on the Mac; declared here without its value,
// since a floating-point constant cannot be asserted in sdk_values.mm.
APPKIT_EXTERN const CGFloat NSSquareStatusItemLength;

@interface NSStatusBar : NSObject
@property(class, readonly, strong) NSStatusBar* systemStatusBar;
- (NSStatusItem*)statusItemWithLength:(CGFloat)length;
- (void)removeStatusItem:(NSStatusItem*)item;
@end

// NSWindow.h, NSPanel.h, NSScreen.h
typedef NSInteger NSWindowLevel;

typedef NS_OPTIONS(NSUInteger, NSWindowStyleMask) {
  NSWindowStyleMaskNonactivatingPanel = 1 << 7,  // Apple: NSWindow.h, NSWindowStyleMask
};

typedef NS_OPTIONS(NSUInteger, NSWindowCollectionBehavior) {
  NSWindowCollectionBehaviorMoveToActiveSpace = 1 << 1,    // Apple: NSWindow.h
  NSWindowCollectionBehaviorFullScreenAuxiliary = 1 << 8,  // Apple: NSWindow.h
};

typedef NS_ENUM(NSInteger, NSWindowAnimationBehavior) {
  NSWindowAnimationBehaviorNone = 2,  // Apple: NSWindow.h, NSWindowAnimationBehavior
};

@interface NSWindow : NSResponder
@property NSWindowStyleMask styleMask;
@property NSWindowLevel level;
@property BOOL hidesOnDeactivate;
@property NSWindowCollectionBehavior collectionBehavior;
@property NSWindowAnimationBehavior animationBehavior;
@property(readonly) BOOL canBecomeKeyWindow;
@property(readonly) BOOL canBecomeMainWindow;
@property(readonly, strong) NSScreen* screen;
- (NSRect)convertRectToScreen:(NSRect)rect;
@end

@interface NSPanel : NSWindow
@end

@interface NSScreen : NSObject
@property(class, readonly, strong) NSScreen* mainScreen;
@property(class, readonly, copy) NSArray<NSScreen*>* screens;
@property(readonly) NSRect frame;
@property(readonly) NSRect visibleFrame;
@end
