// Declarations for compile-checking only; never shipped or used on a Mac.
// The HID umbrella of the HID Manager's headers. It does not include
// <IOKit/hidsystem/IOHIDLib.h>, which declares the Input Monitoring access
// calls.
#pragma once

#include <IOKit/hid/IOHIDBase.h>
#include <IOKit/hid/IOHIDDevice.h>
#include <IOKit/hid/IOHIDElement.h>
#include <IOKit/hid/IOHIDKeys.h>
#include <IOKit/hid/IOHIDManager.h>
#include <IOKit/hid/IOHIDValue.h>
