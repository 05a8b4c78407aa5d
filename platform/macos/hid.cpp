#include "hid.h"

#include <IOKit/hid/IOHIDLib.h>
// The Input Monitoring check and request; <IOKit/hid/IOHIDLib.h> does not
// include it.
#include <IOKit/hidsystem/IOHIDLib.h>

namespace quillon::platform::macos {
namespace {

CFNumberRef number(uint32_t v) {
  int32_t n = static_cast<int32_t>(v);
  return CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &n);
}

CFDictionaryRef matching(const char* pageKey, const char* usageKey, HidUsage usage) {
  CFStringRef keys[] = {
      CFStringCreateWithCString(kCFAllocatorDefault, pageKey, kCFStringEncodingUTF8),
      CFStringCreateWithCString(kCFAllocatorDefault, usageKey, kCFStringEncodingUTF8)};
  CFNumberRef values[] = {number(usage.page), number(usage.usage)};
  CFDictionaryRef dict =
      CFDictionaryCreate(kCFAllocatorDefault, reinterpret_cast<const void**>(keys),
                         reinterpret_cast<const void**>(values), 2, &kCFTypeDictionaryKeyCallBacks,
                         &kCFTypeDictionaryValueCallBacks);
  for (int i = 0; i < 2; ++i) {
    CFRelease(keys[i]);
    CFRelease(values[i]);
  }
  return dict;
}

}  // namespace

HidManagerRef IOKitHid::createManager(HidUsage device, const std::vector<HidUsage>& values) {
  IOHIDManagerRef manager = IOHIDManagerCreate(kCFAllocatorDefault, kIOHIDOptionsTypeNone);
  CFDictionaryRef deviceMatch = matching("DeviceUsagePage", "DeviceUsage", device);
  IOHIDManagerSetDeviceMatching(manager, deviceMatch);
  CFRelease(deviceMatch);
  CFMutableArrayRef valueMatches =
      CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  for (HidUsage u : values) {
    CFDictionaryRef m = matching("UsagePage", "Usage", u);
    CFArrayAppendValue(valueMatches, m);
    CFRelease(m);
  }
  IOHIDManagerSetInputValueMatchingMultiple(manager, valueMatches);
  CFRelease(valueMatches);
  return manager;
}

void IOKitHid::setCallbacks(HidManagerRef manager, HidValueCallback onValue,
                            HidRemovalCallback onRemoval, void* context) {
  onValue_ = onValue;
  onRemoval_ = onRemoval;
  context_ = context;
  auto* m = static_cast<IOHIDManagerRef>(manager);
  IOHIDManagerRegisterInputValueCallback(
      m,
      [](void* self, IOReturn, void*, IOHIDValueRef value) {
        auto* hid = static_cast<IOKitHid*>(self);
        IOHIDElementRef element = IOHIDValueGetElement(value);
        HidValue v{IOHIDElementGetDevice(element),
                   {IOHIDElementGetUsagePage(element), IOHIDElementGetUsage(element)},
                   IOHIDValueGetIntegerValue(value)};
        hid->onValue_(hid->context_, v);
      },
      this);
  IOHIDManagerRegisterDeviceRemovalCallback(
      m,
      [](void* self, IOReturn, void*, IOHIDDeviceRef device) {
        auto* hid = static_cast<IOKitHid*>(self);
        hid->onRemoval_(hid->context_, device);
      },
      this);
}

void IOKitHid::schedule(HidManagerRef manager) {
  IOHIDManagerScheduleWithRunLoop(static_cast<IOHIDManagerRef>(manager), CFRunLoopGetMain(),
                                  kCFRunLoopDefaultMode);
}

bool IOKitHid::open(HidManagerRef manager) {
  return IOHIDManagerOpen(static_cast<IOHIDManagerRef>(manager), kIOHIDOptionsTypeNone) ==
         kIOReturnSuccess;
}

void IOKitHid::close(HidManagerRef manager) {
  auto* m = static_cast<IOHIDManagerRef>(manager);
  IOHIDManagerRegisterInputValueCallback(m, nullptr, nullptr);
  IOHIDManagerRegisterDeviceRemovalCallback(m, nullptr, nullptr);
  IOHIDManagerUnscheduleFromRunLoop(m, CFRunLoopGetMain(), kCFRunLoopDefaultMode);
  // The result is of no use: a manager never opened has nothing to close.
  IOHIDManagerClose(m, kIOHIDOptionsTypeNone);
  CFRelease(m);
  onValue_ = nullptr;
  onRemoval_ = nullptr;
  context_ = nullptr;
}

std::optional<bool> IOKitHid::boolProperty(HidDeviceRef device, const char* key) {
  CFStringRef k = CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingUTF8);
  CFTypeRef v = IOHIDDeviceGetProperty(static_cast<IOHIDDeviceRef>(device), k);
  CFRelease(k);
  if (v == nullptr || CFGetTypeID(v) != CFBooleanGetTypeID()) return std::nullopt;
  return CFBooleanGetValue(static_cast<CFBooleanRef>(v)) != 0;
}

std::optional<std::string> IOKitHid::stringProperty(HidDeviceRef device, const char* key) {
  CFStringRef k = CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingUTF8);
  CFTypeRef v = IOHIDDeviceGetProperty(static_cast<IOHIDDeviceRef>(device), k);
  CFRelease(k);
  if (v == nullptr || CFGetTypeID(v) != CFStringGetTypeID()) return std::nullopt;
  char buffer[512];
  if (!CFStringGetCString(static_cast<CFStringRef>(v), buffer, sizeof buffer,
                          kCFStringEncodingUTF8)) {
    return std::nullopt;
  }
  return std::string(buffer);
}

bool IOKitHid::listenEventAccessGranted() {
  return IOHIDCheckAccess(kIOHIDRequestTypeListenEvent) == kIOHIDAccessTypeGranted;
}

void IOKitHid::requestListenEventAccess() {
  IOHIDRequestAccess(kIOHIDRequestTypeListenEvent);
}

}  // namespace quillon::platform::macos
