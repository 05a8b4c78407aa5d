// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/AppKitDefines.h>

// Apple: AppKit/NSGraphics.h
typedef NS_ENUM(NSUInteger, NSBackingStoreType) {
  NSBackingStoreBuffered = 2,  // Apple: AppKit/NSGraphics.h, NSBackingStoreType
};
