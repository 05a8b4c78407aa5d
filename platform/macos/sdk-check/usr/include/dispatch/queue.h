// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <dispatch/object.h>
#include <dispatch/time.h>

#ifdef __cplusplus
extern "C" {
#endif

// Apple: dispatch/queue.h
// A macro over a global object on the Mac; a function here, of the same type.
dispatch_queue_main_t dispatch_get_main_queue(void);
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);

#ifdef __cplusplus
}
#endif
