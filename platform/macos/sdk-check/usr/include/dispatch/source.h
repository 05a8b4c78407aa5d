// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <dispatch/object.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Apple: dispatch/source.h
typedef const struct dispatch_source_type_s* dispatch_source_type_t;
extern const struct dispatch_source_type_s _dispatch_source_type_vnode;
#define DISPATCH_SOURCE_TYPE_VNODE (&_dispatch_source_type_vnode)
dispatch_source_t dispatch_source_create(dispatch_source_type_t type, uintptr_t handle,
                                         uintptr_t mask, dispatch_queue_t queue);
void dispatch_source_set_event_handler(dispatch_source_t source, dispatch_block_t handler);
void dispatch_source_set_cancel_handler(dispatch_source_t source, dispatch_block_t handler);
void dispatch_source_cancel(dispatch_source_t source);

#define DISPATCH_VNODE_DELETE 0x1   // Apple: dispatch/source.h, dispatch_source_vnode_flags_t
#define DISPATCH_VNODE_WRITE 0x2    // Apple: dispatch/source.h, dispatch_source_vnode_flags_t
#define DISPATCH_VNODE_RENAME 0x20  // Apple: dispatch/source.h, dispatch_source_vnode_flags_t

#ifdef __cplusplus
}
#endif
