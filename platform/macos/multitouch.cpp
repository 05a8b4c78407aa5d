#include "multitouch.h"

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/IOKitLib.h>
#include <dlfcn.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace quillon::platform::macos {
namespace {

constexpr const char* kFrameworkPath =
    "/System/Library/PrivateFrameworks/MultitouchSupport.framework/MultitouchSupport";

using CreateListFn = CFArrayRef (*)();
using GetDeviceIDFn = int32_t (*)(MTDeviceRef, uint64_t*);
using GetDimensionsFn = int32_t (*)(MTDeviceRef, int32_t*, int32_t*);
using FrameFn = int32_t (*)(MTDeviceRef, const void*, int32_t, double, int32_t);
using RegisterFn = void (*)(MTDeviceRef, FrameFn);
using UnregisterFn = void (*)(MTDeviceRef, FrameFn);
using StartFn = int32_t (*)(MTDeviceRef, int32_t);
using IsBuiltInFn = bool (*)(MTDeviceRef);
using StopFn = int32_t (*)(MTDeviceRef);  // like MTDeviceStart; the result is not read

// The framework's callback carries no user data, so the one handler of the
// process, and the devices it is registered for, are kept here. The
// trampoline calls the handler with `mutex` held, so that unregistering a
// device waits for a frame under way and no later frame of that device
// reaches the handler. The main thread never holds `mutex` while it calls
// the framework, nor while it holds a lock that the handler takes.
struct Routing {
  std::mutex mutex;
  ContactFrameHandler handler = nullptr;
  void* context = nullptr;
  std::vector<MTDeviceRef> devices;
};

// Never destroyed: the framework's threads may still call the trampoline
// while the process exits.
Routing& routing() {
  static auto* r = new Routing;
  return *r;
}

int32_t frameTrampoline(MTDeviceRef device, const void* fingers, int32_t count, double timestamp,
                        int32_t frame) {
  Routing& r = routing();
  std::lock_guard guard(r.mutex);
  if (r.handler == nullptr ||
      std::find(r.devices.begin(), r.devices.end(), device) == r.devices.end()) {
    return 0;
  }
  return r.handler(r.context, device, fingers, count, timestamp, frame);
}

const char* symbolName(MTFunction f) {
  switch (f) {
    case MTFunction::createList:
      return "MTDeviceCreateList";
    case MTFunction::getDeviceID:
      return "MTDeviceGetDeviceID";
    case MTFunction::getSensorSurfaceDimensions:
      return "MTDeviceGetSensorSurfaceDimensions";
    case MTFunction::registerContactFrameCallback:
      return "MTRegisterContactFrameCallback";
    case MTFunction::deviceStart:
      return "MTDeviceStart";
    case MTFunction::isBuiltIn:
      return "MTDeviceIsBuiltIn";
    case MTFunction::deviceStop:
      return "MTDeviceStop";
    case MTFunction::unregisterContactFrameCallback:
      return "MTUnregisterContactFrameCallback";
  }
  return "";
}

template <typename Fn>
Fn as(void* p) {
  return reinterpret_cast<Fn>(p);
}

}  // namespace

bool MTFramework::load() {
  if (handle_ == nullptr) handle_ = dlopen(kFrameworkPath, RTLD_NOW);
  return handle_ != nullptr;
}

void* MTFramework::symbol(MTFunction function) const {
  return handle_ == nullptr ? nullptr : dlsym(handle_, symbolName(function));
}

bool MTFramework::has(MTFunction function) const {
  return symbol(function) != nullptr;
}

std::optional<std::vector<MTDeviceRef>> MTFramework::createList() {
  auto fn = as<CreateListFn>(symbol(MTFunction::createList));
  // Created: this object owns the list, and the list its devices.
  CFArrayRef list = fn != nullptr ? fn() : nullptr;
  if (list == nullptr) return std::nullopt;
  std::vector<MTDeviceRef> devices;
  for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
    devices.push_back(const_cast<void*>(CFArrayGetValueAtIndex(list, i)));
  }
  lists_.push_back({list, devices});
  releaseIdleLists();
  return devices;
}

MTFramework::~MTFramework() {
  releaseIdleLists(true);
}

void MTFramework::releaseIdleLists(bool all) {
  std::vector<MTDeviceRef> registered;
  {
    Routing& r = routing();
    std::lock_guard guard(r.mutex);
    registered = r.devices;
  }
  auto inUse = [&](MTDeviceRef device) {
    return std::find(registered.begin(), registered.end(), device) != registered.end() ||
           std::find(started_.begin(), started_.end(), device) != started_.end();
  };
  for (auto it = lists_.begin(); it != lists_.end() && (all || it + 1 != lists_.end());) {
    if (std::none_of(it->devices.begin(), it->devices.end(), inUse)) {
      CFRelease(it->array);
      it = lists_.erase(it);
    } else {
      ++it;
    }
  }
}

int32_t MTFramework::getDeviceID(MTDeviceRef device, uint64_t* id) {
  return as<GetDeviceIDFn>(symbol(MTFunction::getDeviceID))(device, id);
}

int32_t MTFramework::getSensorSurfaceDimensions(MTDeviceRef device, int32_t* width,
                                                int32_t* height) {
  return as<GetDimensionsFn>(symbol(MTFunction::getSensorSurfaceDimensions))(device, width, height);
}

void MTFramework::registerContactFrameCallback(MTDeviceRef device, ContactFrameHandler handler,
                                               void* context) {
  {
    Routing& r = routing();
    std::lock_guard guard(r.mutex);
    r.handler = handler;
    r.context = context;
    if (std::find(r.devices.begin(), r.devices.end(), device) == r.devices.end()) {
      r.devices.push_back(device);
    }
  }
  as<RegisterFn>(symbol(MTFunction::registerContactFrameCallback))(device, frameTrampoline);
}

void MTFramework::unregisterContactFrameCallback(MTDeviceRef device) {
  if (auto fn = as<UnregisterFn>(symbol(MTFunction::unregisterContactFrameCallback))) {
    fn(device, frameTrampoline);
  }
  // Taking the mutex waits for a frame that the trampoline is handling.
  Routing& r = routing();
  std::lock_guard guard(r.mutex);
  r.devices.erase(std::remove(r.devices.begin(), r.devices.end(), device), r.devices.end());
  if (r.devices.empty()) {
    r.handler = nullptr;
    r.context = nullptr;
  }
}

int32_t MTFramework::deviceStart(MTDeviceRef device, int32_t mode) {
  const int32_t result = as<StartFn>(symbol(MTFunction::deviceStart))(device, mode);
  if (result == 0 && std::find(started_.begin(), started_.end(), device) == started_.end()) {
    started_.push_back(device);
  }
  return result;
}

bool MTFramework::isBuiltIn(MTDeviceRef device) {
  return as<IsBuiltInFn>(symbol(MTFunction::isBuiltIn))(device);
}

void MTFramework::deviceStop(MTDeviceRef device) {
  as<StopFn>(symbol(MTFunction::deviceStop))(device);
  started_.erase(std::remove(started_.begin(), started_.end(), device), started_.end());
}

int MTFramework::registryDeviceCount() {
  io_iterator_t iterator = 0;
  if (IOServiceGetMatchingServices(kIOMainPortDefault, IOServiceMatching("AppleMultitouchDevice"),
                                   &iterator) != KERN_SUCCESS) {
    return 0;
  }
  int count = 0;
  while (io_object_t service = IOIteratorNext(iterator)) {
    ++count;
    IOObjectRelease(service);
  }
  IOObjectRelease(iterator);
  return count;
}

}  // namespace quillon::platform::macos
