// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/AppKitDefines.h>
#import <AppKit/NSAccessibilityConstants.h>

// Apple: AppKit/NSAccessibility.h
APPKIT_EXTERN void NSAccessibilityPostNotificationWithUserInfo(
    id element, NSAccessibilityNotificationName notification,
    NSDictionary<NSAccessibilityNotificationUserInfoKey, id>* _Nullable userInfo)
    API_AVAILABLE(macos(10.7));
