// Declarations for compile-checking only; never shipped or used on a Mac.
// In Objective-C (deployment target 10.8 and later) dispatch objects are
// Objective-C objects that ARC retains and releases; in C++ they are
// pointers to a small class hierarchy, so a source converts to a
// dispatch_object_t and a queue does not convert to a source.
#pragma once

#include <os/availability.h>

// UNSURE: dispatch/object.h; the SDK makes the queue and source types with
// OS_OBJECT_DECL macros in dispatch/queue.h and dispatch/source.h, written
// out here in one place so that the class hierarchy reads at once.
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

#ifdef __cplusplus
extern "C" {
#endif

// Apple: dispatch/object.h
typedef void (^dispatch_block_t)(void);
void dispatch_resume(dispatch_object_t object);

#ifdef __cplusplus
}
#endif
