// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <IOKit/IOReturn.h>
#include <MacTypes.h>
#include <mach/port.h>

// Apple: IOKit/IOTypes.h
typedef UInt32 IOOptionBits;
typedef mach_port_t io_object_t;
typedef io_object_t io_iterator_t;
typedef io_object_t io_service_t;
