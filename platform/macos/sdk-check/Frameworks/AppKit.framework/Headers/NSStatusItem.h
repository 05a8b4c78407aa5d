// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/NSStatusBarButton.h>

// Apple: AppKit/NSStatusItem.h
@interface NSStatusItem : NSObject
@property(readonly, strong) NSStatusBarButton* button;
@end
