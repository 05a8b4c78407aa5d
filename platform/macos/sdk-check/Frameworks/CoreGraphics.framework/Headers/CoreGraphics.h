// Declarations for compile-checking only; never shipped or used on a Mac.
// The Core Graphics umbrella: declares nothing itself, as on a Mac.
#pragma once

#include <CoreGraphics/CGBase.h>
#include <CoreGraphics/CGDirectDisplay.h>
#include <CoreGraphics/CGDisplayConfiguration.h>
#include <CoreGraphics/CGError.h>
#include <CoreGraphics/CGEvent.h>
#include <CoreGraphics/CGEventTypes.h>
#include <CoreGraphics/CGGeometry.h>
#include <CoreGraphics/CGRemoteOperation.h>
