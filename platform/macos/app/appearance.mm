#include "app_services.h"

#import <AppKit/AppKit.h>

namespace quillon::platform::macos {

bool AppKitAppearance::isDark() {
  NSAppearanceName match = [NSApp.effectiveAppearance
      bestMatchFromAppearancesWithNames:@[ NSAppearanceNameAqua, NSAppearanceNameDarkAqua ]];
  return [match isEqualToString:NSAppearanceNameDarkAqua];
}

}  // namespace quillon::platform::macos
