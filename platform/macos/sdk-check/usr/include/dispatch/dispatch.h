// Declarations for compile-checking only; never shipped or used on a Mac.
// The parts of libdispatch that the adapters use; the umbrella declares
// nothing itself, as on a Mac.
#pragma once

#include <dispatch/object.h>
#include <dispatch/queue.h>
#include <dispatch/source.h>
#include <dispatch/time.h>
#include <os/availability.h>
#include <stdint.h>
