#include <variant>

#include "app_services.h"
#include "cf_util.h"

namespace quillon::platform::macos {
namespace {

// Null for nullopt (which removes the key). Set in `ok` whether a value that
// was given could be made.
CFOwned<CFPropertyListRef> propertyList(const std::optional<PrefValue>& value, bool& ok) {
  ok = true;
  if (!value) return CFOwned<CFPropertyListRef>();
  if (const bool* b = std::get_if<bool>(&*value)) {
    return CFOwned<CFPropertyListRef>(CFRetain(*b ? kCFBooleanTrue : kCFBooleanFalse));
  }
  if (const double* d = std::get_if<double>(&*value)) {
    return CFOwned<CFPropertyListRef>(CFNumberCreate(kCFAllocatorDefault, kCFNumberDoubleType, d));
  }
  CFOwned<CFStringRef> text = cfString(std::get<std::string>(*value));
  ok = static_cast<bool>(text);
  return CFOwned<CFPropertyListRef>(text ? CFRetain(text.get()) : nullptr);
}

}  // namespace

void CFPreferencesWriter::setAnyHost(const std::string& key,
                                     const std::optional<PrefValue>& value) {
  CFOwned<CFStringRef> name = cfString(key);
  bool ok = false;
  CFOwned<CFPropertyListRef> object = propertyList(value, ok);
  // A value that cannot be made is not written: null would remove the key.
  if (!name || !ok) return;
  CFPreferencesSetValue(name.get(), object.get(), kCFPreferencesAnyApplication,
                        kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
}

void CFPreferencesWriter::synchronize() {
  CFPreferencesSynchronize(kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                           kCFPreferencesAnyHost);
}

}  // namespace quillon::platform::macos
