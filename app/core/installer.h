#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/core/env.h"

namespace quillon::app {

// A modal alert of the installer, in the default style.
struct InstallerAlert {
  std::string message;
  std::string informativeText;
  // In this order, the first is the default. None: the standard single "OK".
  std::vector<std::string> buttons;
};

// Shows the installer's alerts. The window code implements it (keeping the
// buttons in the given order, whatever the platform's habit); tests answer.
class InstallerAlerts {
 public:
  virtual ~InstallerAlerts() = default;
  // Runs the alert modally. The index of the button chosen (0 = the first),
  // or -1 when the alert was dismissed without one.
  virtual int run(const InstallerAlert& alert) = 0;
};

// Moving the app out of the installer (a disk image or a translocated copy)
// into an Applications folder, and restarting the app. Main thread only.
namespace Installer {

// Marks a copy that macOS runs from a randomised, read-only location.
inline constexpr char kTranslocatedMarker[] = "/AppTranslocation/";
inline constexpr char kVolumesPrefix[] = "/Volumes/";
// Preferred target; the fallback is this name in the user's home folder.
inline constexpr char kSystemApplications[] = "/Applications";
inline constexpr char kUserApplications[] = "Applications";
inline constexpr char kBundleName[] = "Quillon.app";
inline constexpr char kShell[] = "/bin/sh";
// How long move() waits for another running copy to quit before forcing it.
inline constexpr int kQuitPolls = 40;
inline constexpr int kQuitPollIntervalMs = 100;
// Run as `sh -c SCRIPT sh PID DESTINATION VOLUME`: waits for this process to
// end (polling every 0.2 s), opens the new copy, then ejects the installer
// volume when there is one. Exits 0 even when the eject fails (a Finder
// window may still use the volume).
inline constexpr char kHandOverScript[] =
    "while /bin/kill -0 \"$1\" 2>/dev/null; do sleep 0.2; done; /usr/bin/open \"$2\"; "
    "[ -n \"$3\" ] && /usr/bin/hdiutil detach \"$3\" -quiet; exit 0";
// Run as `sh -c SCRIPT BUNDLE PID`: waits for this process to end (polling
// every 0.2 s, at most about 10 s), then opens the bundle. `open` only
// brings a copy that still runs to the front, so opening earlier would
// leave no copy at all once this one has quit.
inline constexpr char kRelaunchScript[] =
    "i=0; while /bin/kill -0 \"$1\" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.2; i=$((i+1)); "
    "done; /usr/bin/open \"$0\"";

// Sleeps on the main thread while another copy quits.
using SleepMs = std::function<void(int ms)>;

// The running bundle is translocated, or lies on a read-only volume under
// "/Volumes/". A failing read-only query counts as not read-only.
bool runningFromInstaller(platform::BundleInfo& bundle);

// "/Volumes/" plus the volume's name (the third path component) for a path
// under "/Volumes/", however deep; otherwise empty.
std::string volumePath(const std::string& macPath);

InstallerAlert moveOffer();
InstallerAlert moveFailed(const std::string& errorDescription);

// Asks whether to move the app to Applications and does it. The app ends in
// every branch: Quit, a move handed over to the new copy, or a failed move
// after its alert.
void offerMove(Env& env, InstallerAlerts& alerts, const SleepMs& sleep);

// Starts the relaunch script and terminates the app, whether or not the
// script could be started.
void relaunchApp(Env& env);

}  // namespace Installer

// The installer's operations for Env::installer. `env` and `alerts` must
// outlive the hooks. `sleep` defaults to a real sleep of the main thread.
InstallerHooks installerHooks(Env& env, InstallerAlerts& alerts, Installer::SleepMs sleep = {});

}  // namespace quillon::app
