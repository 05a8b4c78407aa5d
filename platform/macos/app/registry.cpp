#include <IOKit/IOKitLib.h>

#include "app_services.h"

namespace quillon::platform::macos {

std::optional<int> IOKitRegistry::serviceCount(const std::string& className) {
  io_iterator_t iterator = 0;
  // IOServiceGetMatchingServices consumes the matching dictionary.
  if (IOServiceGetMatchingServices(kIOMainPortDefault, IOServiceMatching(className.c_str()),
                                   &iterator) != KERN_SUCCESS) {
    return std::nullopt;
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
