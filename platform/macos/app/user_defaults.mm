#include "app_services.h"

#import <Foundation/Foundation.h>

#include "ns_text.h"

namespace quillon::platform::macos {
namespace {

bool isBoolean(id value) {
  return [value isKindOfClass:[NSNumber class]] &&
         CFGetTypeID((__bridge CFTypeRef)value) == CFBooleanGetTypeID();
}

// A number that is neither a boolean nor a floating-point value.
bool isInteger(id value) {
  return [value isKindOfClass:[NSNumber class]] && !isBoolean(value) &&
         !CFNumberIsFloatType((__bridge CFNumberRef)value);
}

class NSDefaults final : public UserDefaults {
 public:
  explicit NSDefaults(NSUserDefaults* defaults) : defaults_(defaults) {}

  std::optional<bool> boolValue(const std::string& key) override {
    id value = object(key);
    if (!isBoolean(value)) return std::nullopt;
    return static_cast<bool>([value boolValue]);
  }

  std::optional<int64_t> intValue(const std::string& key) override {
    id value = object(key);
    if (!isInteger(value)) return std::nullopt;
    return static_cast<int64_t>([value longLongValue]);
  }

  std::optional<std::string> stringValue(const std::string& key) override {
    id value = object(key);
    if (![value isKindOfClass:[NSString class]]) return std::nullopt;
    const char* utf8 = [value UTF8String];
    if (utf8 == nullptr) return std::nullopt;
    return std::string(utf8);
  }

  std::optional<Data> dataValue(const std::string& key) override {
    id value = object(key);
    if (![value isKindOfClass:[NSData class]]) return std::nullopt;
    NSData* data = value;
    const auto* bytes = static_cast<const uint8_t*>(data.bytes);
    return Data(bytes, bytes + data.length);
  }

  void setBool(const std::string& key, bool value) override {
    if (NSString* k = nsString(key)) [defaults_ setBool:value forKey:k];
  }

  void setInt(const std::string& key, int64_t value) override {
    if (NSString* k = nsString(key)) [defaults_ setInteger:static_cast<NSInteger>(value) forKey:k];
  }

  void setString(const std::string& key, const std::string& value) override {
    NSString* k = nsString(key);
    NSString* v = nsString(value);
    // Text that is not UTF-8 is not written: a nil value would remove the key.
    if (k != nil && v != nil) [defaults_ setObject:v forKey:k];
  }

  void setData(const std::string& key, const Data& value) override {
    if (NSString* k = nsString(key)) {
      [defaults_ setObject:[NSData dataWithBytes:value.data() length:value.size()] forKey:k];
    }
  }

  void remove(const std::string& key) override {
    if (NSString* k = nsString(key)) [defaults_ removeObjectForKey:k];
  }

 private:
  id object(const std::string& key) {
    NSString* k = nsString(key);
    return k != nil ? [defaults_ objectForKey:k] : nil;
  }

  NSUserDefaults* defaults_;
};

}  // namespace

NSUserDefaultsStore::NSUserDefaultsStore()
    : standard_(std::make_unique<NSDefaults>(NSUserDefaults.standardUserDefaults)) {}

NSUserDefaultsStore::~NSUserDefaultsStore() = default;

UserDefaults& NSUserDefaultsStore::standard() {
  return *standard_;
}

std::unique_ptr<UserDefaults> NSUserDefaultsStore::suite(const std::string& name) {
  NSString* suiteName = nsString(name);
  NSUserDefaults* defaults =
      suiteName != nil ? [[NSUserDefaults alloc] initWithSuiteName:suiteName] : nil;
  if (defaults == nil) return nullptr;
  return std::make_unique<NSDefaults>(defaults);
}

void NSUserDefaultsStore::removeAppDomain() {
  NSString* identifier = NSBundle.mainBundle.bundleIdentifier;
  if (identifier != nil)
    [NSUserDefaults.standardUserDefaults removePersistentDomainForName:identifier];
}

}  // namespace quillon::platform::macos
