#include <dlfcn.h>

#include "app_services.h"
#include "cf_util.h"
#include "hid_event_system_private.h"

namespace quillon::platform::macos {
namespace {

constexpr const char* kAccelerationTypeKey = "HIDPointerAccelerationType";

IOHIDEventSystemClientRef asClient(void* client) {
  return static_cast<IOHIDEventSystemClientRef>(client);
}

IOHIDServiceClientRef serviceAt(CFArrayRef services, CFIndex i) {
  return static_cast<IOHIDServiceClientRef>(const_cast<void*>(CFArrayGetValueAtIndex(services, i)));
}

std::optional<uint64_t> registryId(IOHIDServiceClientRef service) {
  CFTypeRef id = IOHIDServiceClientGetRegistryID(service);
  int64_t value = 0;
  if (id == nullptr || CFGetTypeID(id) != CFNumberGetTypeID() ||
      !CFNumberGetValue(static_cast<CFNumberRef>(id), kCFNumberSInt64Type, &value)) {
    return std::nullopt;
  }
  return static_cast<uint64_t>(value);
}

template <typename Fn>
Fn symbol(void* library, const char* name) {
  return reinterpret_cast<Fn>(dlsym(library, name));
}

// Opens the event status, calls `set` with its handle, closes it; does
// nothing when IOKit or one of the functions is missing, or the handle is 0.
template <typename SetFn, typename Call>
void withEventStatus(const char* setterName, Call call) {
  void* iokit = dlopen(event_status::kIOKitPath, RTLD_LAZY);
  if (iokit == nullptr) return;
  auto open = symbol<event_status::OpenFn>(iokit, "NXOpenEventStatus");
  auto set = symbol<SetFn>(iokit, setterName);
  if (open != nullptr && set != nullptr) {
    if (const event_status::Handle handle = open(); handle != 0) {
      call(set, handle);
      if (auto close = symbol<event_status::CloseFn>(iokit, "NXCloseEventStatus")) close(handle);
    }
  }
  dlclose(iokit);
}

}  // namespace

HidEventSystem::~HidEventSystem() {
  if (client_ != nullptr) CFRelease(asClient(client_));
}

void* HidEventSystem::client() {
  if (client_ == nullptr) client_ = IOHIDEventSystemClientCreateSimpleClient(kCFAllocatorDefault);
  return client_;
}

void HidEventSystem::setClientProperty(const std::string& name, int64_t value) {
  CFOwned<CFStringRef> key = cfString(name);
  CFOwned<CFNumberRef> number = cfInteger(value);
  if (client() == nullptr || !key || !number) return;
  IOHIDEventSystemClientSetProperty(asClient(client_), key.get(), number.get());
}

std::vector<HidService> HidEventSystem::services() {
  std::vector<HidService> out;
  if (client() == nullptr) return out;
  CFOwned<CFArrayRef> services(IOHIDEventSystemClientCopyServices(asClient(client_)));
  CFOwned<CFStringRef> typeKey = cfString(kAccelerationTypeKey);
  if (!services) return out;
  for (CFIndex i = 0; i < CFArrayGetCount(services.get()); ++i) {
    IOHIDServiceClientRef service = serviceAt(services.get(), i);
    const std::optional<uint64_t> id = registryId(service);
    if (!id) continue;  // it could not be addressed again
    CFOwned<CFTypeRef> type(IOHIDServiceClientCopyProperty(service, typeKey.get()));
    out.push_back({*id, fromCF(type.get())});
  }
  return out;
}

void HidEventSystem::setServiceProperty(uint64_t serviceId, const std::string& name,
                                        int64_t value) {
  CFOwned<CFStringRef> key = cfString(name);
  CFOwned<CFNumberRef> number = cfInteger(value);
  if (client() == nullptr || !key || !number) return;
  CFOwned<CFArrayRef> services(IOHIDEventSystemClientCopyServices(asClient(client_)));
  if (!services) return;
  for (CFIndex i = 0; i < CFArrayGetCount(services.get()); ++i) {
    IOHIDServiceClientRef service = serviceAt(services.get(), i);
    if (registryId(service) == serviceId) {
      IOHIDServiceClientSetProperty(service, key.get(), number.get());
    }
  }
}

void HidEventSystem::legacySetAcceleration(const std::string& name, double value) {
  CFOwned<CFStringRef> key = cfString(name);
  if (!key) return;
  withEventStatus<event_status::SetAccelerationFn>(
      "IOHIDSetAccelerationWithKey",
      [&](event_status::SetAccelerationFn set, event_status::Handle handle) {
        set(handle, key.get(), value);
      });
}

void HidEventSystem::setInputParameter(const std::string& name, int64_t value) {
  CFOwned<CFStringRef> key = cfString(name);
  CFOwned<CFNumberRef> number = cfInteger(value);
  if (!key || !number) return;
  withEventStatus<event_status::SetParameterFn>(
      "IOHIDSetCFTypeParameter",
      [&](event_status::SetParameterFn set, event_status::Handle handle) {
        set(handle, key.get(), number.get());
      });
}

}  // namespace quillon::platform::macos
