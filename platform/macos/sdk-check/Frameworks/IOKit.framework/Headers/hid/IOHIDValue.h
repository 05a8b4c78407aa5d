// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <IOKit/hid/IOHIDBase.h>

CF_EXTERN_C_BEGIN

// Apple: IOKit/hid/IOHIDValue.h
IOHIDElementRef IOHIDValueGetElement(IOHIDValueRef value);
CFIndex IOHIDValueGetIntegerValue(IOHIDValueRef value);

CF_EXTERN_C_END
