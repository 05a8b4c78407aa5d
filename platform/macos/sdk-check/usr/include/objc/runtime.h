// Declarations for compile-checking only; never shipped or used on a Mac.
// The Objective-C runtime's functions as <objc/runtime.h> declares them:
// methods and classes made at run time, and associated objects.
#pragma once

#include <objc/objc.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Apple: objc/runtime.h
typedef struct objc_method* Method;

// Apple: objc/runtime.h
Class object_getClass(id obj);
Class object_setClass(id obj, Class cls);
Class objc_getClass(const char* name);
const char* class_getName(Class cls);
Method class_getInstanceMethod(Class cls, SEL name);
BOOL class_addMethod(Class cls, SEL name, IMP imp, const char* types);
IMP method_getImplementation(Method m);
IMP method_setImplementation(Method m, IMP imp);
const char* method_getTypeEncoding(Method m);
Class objc_allocateClassPair(Class superclass, const char* name, size_t extraBytes);
void objc_registerClassPair(Class cls);
// The block takes the receiver first, then the method's arguments (no SEL).
IMP imp_implementationWithBlock(id block);

// Apple: objc/runtime.h
// OBJC_ENUM(uintptr_t, objc_AssociationPolicy) on the Mac: an enum with a
// fixed underlying type, so a plain integer is not a policy.
typedef enum objc_AssociationPolicy : uintptr_t {
  OBJC_ASSOCIATION_RETAIN_NONATOMIC = 1,  // Apple: objc/runtime.h, objc_AssociationPolicy
} objc_AssociationPolicy;
void objc_setAssociatedObject(id object, const void* key, id value, objc_AssociationPolicy policy);
id objc_getAssociatedObject(id object, const void* key);

#ifdef __cplusplus
}
#endif
