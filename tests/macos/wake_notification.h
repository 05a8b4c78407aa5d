#pragma once

namespace quillon::test {

// Posts NSWorkspaceDidWakeNotification on the workspace's notification
// center, as macOS does after a sleep. Main thread.
void postWakeNotification();

}  // namespace quillon::test
