#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/config.h"
#include "common/paths.h"
#include "helper/curve.h"
#include "helper/fast_lock.h"
#include "helper/screens.h"
#include "quillon/platform/system.h"

namespace quillon {

// The helper's process-wide variables, grouped by who may touch them. One
// `HelperState` is one helper; tests make a fresh one per case.

struct Pad {
  platform::MTDeviceRef ref = nullptr;
  uint64_t id = 0;
  double w = 0;  // mm
  double h = 0;  // mm
};

struct Touch {
  platform::MTDeviceRef pad = nullptr;  // null: no device
  int32_t id = 0;
  double x = 0;  // mm, rightwards
  double y = 0;  // mm, downwards
};

// One version of a file. The modification time comes first, but file systems
// that advance it in clock ticks can give two quick rewrites the same time;
// an atomic rename always brings a new inode, and a rewrite in place usually
// a new size, so those are compared too.
struct FileStamp {
  int64_t mtimeNS = 0;  // since the epoch
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t size = 0;  // bytes
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

constexpr int kMaxTouches = 16;
constexpr double kMaxStep = 150;  // points per event

// Everything guarded by `lock`. Curves are shared immutable values: copying
// the pointer under the lock neither allocates nor copies the table, and the
// main thread keeps the previous curves alive (`retiredCurves`) so that the
// last reference is never dropped on the contact thread.
struct Guarded {
  Config config;
  std::shared_ptr<const Curve> trackpadCurve;
  std::shared_ptr<const Curve> mouseCurve;
  ScrollPrefs trackpadScroll;
  ScrollPrefs mouseScroll;
  double mouseCPMM = kDefaultMouseDPI / kMMPerInch;
  DisplayInfo display;

  // Trackpad hand-off, written by the contact thread.
  std::vector<Pad> pads;
  double smoothV = 0;  // mm/s
  double lastFrameTime = 0;
  int64_t framesSeen = 0;
  double pendingX = 0, pendingY = 0;  // points
  double pendingTime = 0;
  double lastStepX = 0, lastStepY = 0;      // points
  double scrollMoveX = 0, scrollMoveY = 0;  // mm
  double scrollMoveTime = 0;
  double lastPadTouch = 0;  // uptime seconds
};

// Owned by the multitouch framework's thread.
struct ContactThreadState {
  std::array<Touch, kMaxTouches> curTouches{};
  std::array<Touch, kMaxTouches> prevTouches{};
  int prevCount = 0;
};

// Main thread only.
struct MainState {
  // Event tap and pointer.
  std::optional<Point> cur;
  platform::TapPort tapPort = nullptr;
  double lastMouseMove = 0;
  double mouseSmoothV = 0;
  double lastTrackpadMove = 0;

  // Trackpads.
  std::vector<uint64_t> padIDs;
  // The devices our contact-frame callback was registered for, and those of
  // them started; stopMultitouch() undoes both.
  std::vector<platform::MTDeviceRef> mtCallbackDevices;
  std::vector<platform::MTDeviceRef> mtStartedDevices;

  // Raw mouse.
  double mouseCountX = 0, mouseCountY = 0;
  bool hidWorking = false;
  platform::HidManagerRef hidManager = nullptr;
  bool hidOpenFailed = false;
  std::unordered_map<platform::HidDeviceRef, bool> isMouseByDevice;
  platform::HidDeviceRef lastDevKey = nullptr;
  bool lastDevIsMouse = false;

  // Scrolling.
  bool lastScrollFromTrackpad = false;
  double scrollRatio = 1;
  std::array<double, 2> scrollCarry{0, 0};
  bool globalNatural = true;

  // Background run.
  std::string lastStatus;
  // A status file has been written: the support folder existed then, and a
  // folder gone since was removed on purpose (the uninstall).
  bool statusWritten = false;
  std::optional<FileStamp> configDate;  // config.json when it was last applied
  bool mouseActive = false;
  std::vector<std::shared_ptr<const Curve>> retiredCurves;
  std::unique_ptr<platform::FolderWatcher::Watch> configWatcher;
  std::optional<FileStamp> configWatchFolder;  // the folder the watcher was opened on
  int multitouchCount = 0;
  std::optional<int> exitStatus;  // set when the run ends itself; the run loop is stopped
};

struct HelperState {
  HelperState(platform::System& sys, Paths p)
      : system(sys), paths(std::move(p)), screens(sys.displays) {}

  platform::System& system;
  Paths paths;
  Screens screens;

  FastLock lock;
  Guarded shared;  // under `lock`
  ContactThreadState contact;
  MainState main;
};

}  // namespace quillon
