// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <Foundation/Foundation.h>

// Apple: AppKit/AppKitDefines.h
#define APPKIT_EXTERN extern
