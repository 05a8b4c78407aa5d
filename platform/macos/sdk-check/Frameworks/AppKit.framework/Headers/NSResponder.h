// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/AppKitDefines.h>

// Apple: AppKit/NSResponder.h
@interface NSResponder : NSObject
- (void)cancelOperation:(id)sender;
@end
