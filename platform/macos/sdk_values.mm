// Apple's constants and types as platform/macos/sdk-check declares them.
// Compiled on a Mac against the real SDK (it generates no code), so a wrong
// value in the declarations that the Debian compile-check runs against fails
// the macOS build instead of passing the check and failing on the Mac. It
// also ties the core's copies of Core Graphics numbers to Core Graphics.
// scripts/check-macos fails when a declared constant is missing here.
#import <AppKit/AppKit.h>
#include <ApplicationServices/ApplicationServices.h>
#include <Carbon/Carbon.h>
#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>
#include <IOKit/IOKitLib.h>
#include <IOKit/hid/IOHIDLib.h>
#include <IOKit/hidsystem/IOHIDLib.h>
#import <ServiceManagement/ServiceManagement.h>
#include <dispatch/dispatch.h>
#include <fcntl.h>
#include <objc/runtime.h>
#include <os/lock.h>
#include <spawn.h>

#include <cstdint>
#include <type_traits>

#include "quillon/platform/events.h"

namespace {

namespace ev = quillon::platform::event_type;
namespace fld = quillon::platform::field;

// Types whose width or kind the adapters rely on.
static_assert(std::is_same_v<CGFloat, double>);
static_assert(std::is_same_v<CGEventMask, uint64_t>);
static_assert(std::is_same_v<CGDirectDisplayID, uint32_t>);
static_assert(std::is_same_v<CFIndex, long>);
static_assert(std::is_same_v<std::underlying_type_t<CGEventType>, uint32_t>);
static_assert(std::is_same_v<std::underlying_type_t<CGEventField>, uint32_t>);
static_assert(std::is_same_v<std::underlying_type_t<CGError>, int32_t>);
static_assert(std::is_same_v<std::underlying_type_t<CFNumberType>, CFIndex>);
static_assert(std::is_same_v<std::underlying_type_t<SMAppServiceStatus>, NSInteger>);
static_assert(std::is_same_v<NSStringEncoding, NSUInteger>);
static_assert(std::is_same_v<std::underlying_type_t<NSEventType>, NSUInteger>);
static_assert(std::is_same_v<std::underlying_type_t<NSEventSubtype>, short>);
static_assert(std::is_same_v<NSEventMask, unsigned long long>);
static_assert(std::is_same_v<NSApplicationActivationOptions, NSUInteger>);
static_assert(std::is_same_v<NSWindowLevel, NSInteger>);
static_assert(std::is_same_v<NSWindowStyleMask, NSUInteger>);
static_assert(std::is_same_v<NSWindowCollectionBehavior, NSUInteger>);
static_assert(std::is_same_v<std::underlying_type_t<NSWindowAnimationBehavior>, NSInteger>);
static_assert(std::is_same_v<std::underlying_type_t<NSBackingStoreType>, NSUInteger>);
static_assert(sizeof(os_unfair_lock) == 4);
static_assert(std::is_enum_v<objc_AssociationPolicy>);
static_assert(std::is_same_v<std::underlying_type_t<objc_AssociationPolicy>, uintptr_t>);
#if defined(__x86_64__)
static_assert(std::is_same_v<boolean_t, unsigned int>);
#else
static_assert(std::is_same_v<boolean_t, int>);
#endif

// MacTypes, Mach, IOKit.
static_assert(noErr == 0);
static_assert(KERN_SUCCESS == 0);
static_assert(kIOReturnSuccess == 0);
static_assert(kIOHIDOptionsTypeNone == 0);
static_assert(kIOHIDRequestTypePostEvent == 0);
static_assert(kIOHIDRequestTypeListenEvent == 1);
static_assert(kIOHIDAccessTypeGranted == 0);
static_assert(kIOHIDAccessTypeDenied == 1);
static_assert(kIOHIDAccessTypeUnknown == 2);

// Core Foundation.
static_assert(kCFNumberSInt32Type == 3);
static_assert(kCFNumberSInt64Type == 4);
static_assert(kCFNumberDoubleType == 13);
static_assert(kCFStringEncodingUTF8 == 0x08000100);

// Core Graphics, and the core's copies of its event numbers.
static_assert(kCGErrorSuccess == 0);
static_assert(kCGHIDEventTap == 0);
static_assert(kCGHeadInsertEventTap == 0);
static_assert(kCGTailAppendEventTap == 1);
static_assert(kCGEventTapOptionDefault == 0);
static_assert(kCGDisplayBeginConfigurationFlag == 1);
static_assert(kCGEventMouseSubtypeDefault == 0);
static_assert(kCGEventMouseMoved == 5 && ev::kMouseMoved == 5);
static_assert(kCGEventLeftMouseDragged == 6 && ev::kLeftMouseDragged == 6);
static_assert(kCGEventRightMouseDragged == 7 && ev::kRightMouseDragged == 7);
static_assert(kCGEventScrollWheel == 22 && ev::kScrollWheel == 22);
static_assert(kCGEventOtherMouseDragged == 27 && ev::kOtherMouseDragged == 27);
static_assert(kCGEventTapDisabledByTimeout == 0xFFFFFFFE &&
              ev::kTapDisabledByTimeout == 0xFFFFFFFE);
static_assert(kCGEventTapDisabledByUserInput == 0xFFFFFFFF &&
              ev::kTapDisabledByUserInput == 0xFFFFFFFF);
static_assert(kCGMouseEventDeltaX == 4 && fld::kMouseEventDeltaX == 4);
static_assert(kCGMouseEventDeltaY == 5 && fld::kMouseEventDeltaY == 5);
static_assert(kCGMouseEventSubtype == 7 && fld::kMouseEventSubtype == 7);
static_assert(kCGScrollWheelEventDeltaAxis1 == 11 && fld::kScrollDeltaAxis1 == 11);
static_assert(kCGScrollWheelEventDeltaAxis2 == 12 && fld::kScrollDeltaAxis2 == 12);
static_assert(kCGScrollWheelEventIsContinuous == 88 && fld::kScrollIsContinuous == 88);
static_assert(kCGScrollWheelEventFixedPtDeltaAxis1 == 93 && fld::kScrollFixedPtDeltaAxis1 == 93);
static_assert(kCGScrollWheelEventFixedPtDeltaAxis2 == 94 && fld::kScrollFixedPtDeltaAxis2 == 94);
static_assert(kCGScrollWheelEventPointDeltaAxis1 == 96 && fld::kScrollPointDeltaAxis1 == 96);
static_assert(kCGScrollWheelEventPointDeltaAxis2 == 97 && fld::kScrollPointDeltaAxis2 == 97);
static_assert(kCGScrollWheelEventMomentumPhase == 123 && fld::kScrollMomentumPhase == 123);

// libdispatch and the C library.
static_assert(DISPATCH_TIME_NOW == 0);
static_assert(NSEC_PER_SEC == 1000000000ull);
static_assert(DISPATCH_VNODE_DELETE == 0x1);
static_assert(DISPATCH_VNODE_WRITE == 0x2);
static_assert(DISPATCH_VNODE_RENAME == 0x20);
static_assert(O_EVTONLY == 0x00008000);
static_assert(POSIX_SPAWN_CLOEXEC_DEFAULT == 0x4000);

// The Objective-C runtime.
static_assert(OBJC_ASSOCIATION_RETAIN_NONATOMIC == 1);

// Foundation.
static_assert(NSUTF8StringEncoding == 4);

// AppKit: the app's current event (the core reads types 1 to 4 and subtype
// 3 as these numbers), the outside-click monitor, activation, and the menu
// bar panel's window.
static_assert(NSEventTypeLeftMouseDown == 1 && NSEventTypeLeftMouseUp == 2);
static_assert(NSEventTypeRightMouseDown == 3 && NSEventTypeRightMouseUp == 4);
static_assert(NSEventTypeMouseMoved == 5 && NSEventTypeLeftMouseDragged == 6 &&
              NSEventTypeRightMouseDragged == 7);
static_assert(NSEventTypeOtherMouseDown == 25 && NSEventTypeOtherMouseUp == 26 &&
              NSEventTypeOtherMouseDragged == 27);
static_assert(NSEventSubtypeMouseEvent == 0 && NSEventSubtypeTouch == 3);
static_assert(NSEventMaskLeftMouseDown == (1ULL << 1) && NSEventMaskRightMouseDown == (1ULL << 3));
static_assert(NSApplicationActivateIgnoringOtherApps == (1 << 1));
static_assert(NSWindowStyleMaskNonactivatingPanel == (1 << 7));
static_assert(NSWindowCollectionBehaviorMoveToActiveSpace == (1 << 1));
static_assert(NSWindowCollectionBehaviorFullScreenAuxiliary == (1 << 8));
static_assert(NSWindowAnimationBehaviorNone == 2);
static_assert(NSBackingStoreBuffered == 2);

// ServiceManagement: the app prints these numbers as the agent's status.
static_assert(SMAppServiceStatusNotRegistered == 0);
static_assert(SMAppServiceStatusEnabled == 1);
static_assert(SMAppServiceStatusRequiresApproval == 2);
static_assert(SMAppServiceStatusNotFound == 3);

// Carbon hot keys: Control, Option and Command together are 0x1900.
static_assert(cmdKey == 0x100 && shiftKey == 0x200 && optionKey == 0x800 && controlKey == 0x1000);
static_assert((controlKey | optionKey | cmdKey) == 0x1900);
static_assert(kEventClassKeyboard == 0x6B657962);  // 'keyb'
static_assert(kEventHotKeyPressed == 5);
static_assert(kEventParamDirectObject == 0x2D2D2D2D);  // '----'
static_assert(typeEventHotKeyID == 0x686B6964);        // 'hkid'

}  // namespace
