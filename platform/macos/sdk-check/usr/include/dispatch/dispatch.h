// Declarations for compile-checking only; never shipped or used on a Mac.
// The parts of libdispatch that the adapters use, as <dispatch/dispatch.h>
// declares them. In Objective-C (deployment target 10.8 and later) dispatch
// objects are Objective-C objects that ARC retains and releases; in C++
// they are pointers to a small class hierarchy, so a source converts to a
// dispatch_object_t and a queue does not convert to a source.
#pragma once

#include <os/availability.h>
#include <stdint.h>

#ifdef __OBJC__
#include <objc/NSObject.h>
@protocol OS_dispatch_object <NSObject>
@end
typedef NSObject<OS_dispatch_object>* dispatch_object_t;
@protocol OS_dispatch_queue <OS_dispatch_object>
@end
typedef NSObject<OS_dispatch_queue>* dispatch_queue_t;
@protocol OS_dispatch_queue_serial <OS_dispatch_queue>
@end
@protocol OS_dispatch_queue_main <OS_dispatch_queue_serial>
@end
typedef NSObject<OS_dispatch_queue_main>* dispatch_queue_main_t;
@protocol OS_dispatch_source <OS_dispatch_object>
@end
typedef NSObject<OS_dispatch_source>* dispatch_source_t;
#else
struct dispatch_object_s {
 private:
  dispatch_object_s();
  ~dispatch_object_s();
};
struct dispatch_queue_s : dispatch_object_s {};
struct dispatch_queue_main_s : dispatch_queue_s {};
struct dispatch_source_s : dispatch_object_s {};
typedef dispatch_object_s* dispatch_object_t;
typedef dispatch_queue_s* dispatch_queue_t;
typedef dispatch_queue_main_s* dispatch_queue_main_t;
typedef dispatch_source_s* dispatch_source_t;
#endif

typedef void (^dispatch_block_t)(void);
typedef uint64_t dispatch_time_t;
typedef const struct dispatch_source_type_s* dispatch_source_type_t;

#define DISPATCH_TIME_NOW (0ull)    // Apple: dispatch/time.h
#define NSEC_PER_SEC 1000000000ull  // Apple: dispatch/time.h

#define DISPATCH_VNODE_DELETE 0x1   // Apple: dispatch/source.h, dispatch_source_vnode_flags_t
#define DISPATCH_VNODE_WRITE 0x2    // Apple: dispatch/source.h, dispatch_source_vnode_flags_t
#define DISPATCH_VNODE_RENAME 0x20  // Apple: dispatch/source.h, dispatch_source_vnode_flags_t

#ifdef __cplusplus
extern "C" {
#endif

extern const struct dispatch_source_type_s _dispatch_source_type_vnode;
#define DISPATCH_SOURCE_TYPE_VNODE (&_dispatch_source_type_vnode)

// A macro over a global object on the Mac; a function here, of the same type.
dispatch_queue_main_t dispatch_get_main_queue(void);

dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta);
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);
void dispatch_resume(dispatch_object_t object);

dispatch_source_t dispatch_source_create(dispatch_source_type_t type, uintptr_t handle,
                                         uintptr_t mask, dispatch_queue_t queue);
void dispatch_source_set_event_handler(dispatch_source_t source, dispatch_block_t handler);
void dispatch_source_set_cancel_handler(dispatch_source_t source, dispatch_block_t handler);
void dispatch_source_cancel(dispatch_source_t source);

#ifdef __cplusplus
}
#endif
