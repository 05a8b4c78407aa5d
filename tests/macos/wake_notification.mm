#include "tests/macos/wake_notification.h"

#import <AppKit/AppKit.h>

namespace quillon::test {

void postWakeNotification() {
  [[[NSWorkspace sharedWorkspace] notificationCenter]
      postNotificationName:NSWorkspaceDidWakeNotification
                    object:nil];
}

}  // namespace quillon::test
