#include "app_services.h"

#import <Foundation/Foundation.h>
#include <sys/sysctl.h>

#include <cstring>

#include "ns_text.h"

namespace quillon::platform::macos {

std::string MainBundleInfo::bundlePath() {
  return fromNS(NSBundle.mainBundle.bundlePath);
}

std::string MainBundleInfo::bundleIdentifier() {
  return fromNS(NSBundle.mainBundle.bundleIdentifier);
}

std::string MainBundleInfo::shortVersion() {
  id version = [NSBundle.mainBundle objectForInfoDictionaryKey:@"CFBundleShortVersionString"];
  return [version isKindOfClass:[NSString class]] ? fromNS(version) : std::string();
}

std::optional<bool> MainBundleInfo::volumeIsReadOnly(const std::string& path) {
  NSString* text = nsString(path);
  if (text == nil) return std::nullopt;
  id value = nil;
  if (![[NSURL fileURLWithPath:text] getResourceValue:&value
                                               forKey:NSURLVolumeIsReadOnlyKey
                                                error:nil] ||
      ![value isKindOfClass:[NSNumber class]]) {
    return std::nullopt;
  }
  return static_cast<bool>([value boolValue]);
}

bool MainBundleInfo::isWritable(const std::string& path) {
  NSString* text = nsString(path);
  return text != nil && [NSFileManager.defaultManager isWritableFileAtPath:text];
}

std::string MainBundleInfo::hardwareModel() {
  size_t size = 0;
  if (sysctlbyname("hw.model", nullptr, &size, nullptr, 0) != 0 || size == 0) return {};
  std::string model(size, '\0');
  if (sysctlbyname("hw.model", model.data(), &size, nullptr, 0) != 0) return {};
  model.resize(std::strlen(model.c_str()));  // without the terminating NUL
  return model;
}

std::string MainBundleInfo::osVersionText() {
  return fromNS(NSProcessInfo.processInfo.operatingSystemVersionString);
}

std::filesystem::path MainBundleInfo::hostPath(const std::string& macPath) {
  return macPath;
}

}  // namespace quillon::platform::macos
