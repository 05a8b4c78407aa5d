#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/core/env.h"
#include "common/bundle_ids.h"

namespace quillon::app {

// The helper runs as a per-user agent that ServiceManagement starts; the app
// registers and unregisters it, and never runs the helper's `run` itself.
namespace Helper {

// The agent's label.
inline constexpr const char* bundleID = kHelperBundleId;
// The agent's property list in Contents/Library/LaunchAgents.
inline constexpr const char* agentPlist = "com.quillon.helper.plist";

// The setup window keeps the helper registered while it is open, even when
// the configuration gives it nothing to do (RunFlags::keepForSetup).
void keepForSetup(Env& env, bool keep);

// The helper's executable, as a path on the Mac (bundle + "Contents/Helpers/
// Quillon Helper.app/Contents/MacOS/Quillon Helper"), and its app bundle.
std::string exe(Env& env);
std::string appBundle(Env& env);

platform::AppService& agent(Env& env);
bool registered(Env& env);     // the agent's status is enabled
bool needsApproval(Env& env);  // the user has to allow the login item

// The helper's own report, read from status.json. All false by default.
struct Status {
  bool accessibility = false;
  bool inputMonitoring = false;
  bool trackpad = false;
  bool running = false;
  friend bool operator==(const Status&, const Status&) = default;
};

// "Status(accessibility: true, inputMonitoring: false, trackpad: true, running: true)".
std::string describe(const Status& s);

// Makes sure the agent is registered: none, or the text to show. An agent
// that reads "not found" is unregistered first.
std::optional<std::string> start(Env& env);
// 4 s later: a registered helper that is not running is unregistered and
// registered again once launchd has ended the job and 6 s have passed; at
// most three times. Never after a stop() or while uninstalling.
void ensureRunning(Env& env, int attempt = 1);
// A check or re-registration of ensureRunning is still to come.
bool retryPending(Env& env);
// Like start(), but a registered agent whose helper is not running is
// unregistered and registered again, so that the launcher starts it afresh.
// `done` gets none or the text to show, on the main thread.
void restart(Env& env, std::function<void(std::optional<std::string>)> done);
// Cancels a pending retry, unregisters the agent and deletes the status
// file; errors ignored.
void stop(Env& env);
// Re-registers an enabled agent once after the helper file changed.
void refreshIfUpdated(Env& env);
// The helper file's modification time as text, "" when it has none.
std::string stamp(Env& env);

Status status(Env& env);
// The process id in status.json, 0 when there is none.
int pid(Env& env);
// Reads a status file's text. `alive` answers the signal-0 probe of a pid.
Status parseStatus(std::string_view text, bool (*alive)(int pid));
// kill(pid, 0) succeeds.
bool processExists(int pid);
// Ends the process at once (the uninstall's last resort).
void endProcess(int pid);

// Lets the helper show the system's Accessibility prompt again, restarts it,
// and opens the Accessibility settings 1.5 s later.
void askAccessibility(Env& env);
// Opens Privacy & Security at `anchor` ("Privacy_Accessibility",
// "Privacy_ListenEvent").
void openPrivacy(Env& env, const std::string& anchor);
// A Finder window with the helper's app bundle selected.
void showInFinder(Env& env);

}  // namespace Helper

// Closes macOS's Accessibility prompt once the permission is granted: the
// helper's own operation, on the app's main loop.
void dismissAccessibilityPrompt(Env& env);

// Runs a program (no shell) and waits: its status and its output (stdout and
// stderr), or -1 and the reason when it cannot start. Blocks the calling
// thread, so only for the quick system tools.
platform::ProcessResult run(Env& env, const std::string& path,
                            const std::vector<std::string>& args);

}  // namespace quillon::app
