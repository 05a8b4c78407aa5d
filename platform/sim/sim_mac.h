#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quillon/platform/system.h"
#include "sim/sim_run_loop.h"

namespace quillon::sim {

using platform::Point;

// An event of the simulated event system. Fields are stored by their Core
// Graphics numbers in flat arrays so that reading one is as cheap as on
// macOS.
struct SimEvent {
  static constexpr int kFields = 160;
  uint32_t type = 0;
  Point location;
  std::array<int64_t, kFields> ints{};
  std::array<double, kFields> doubles{};
};

// One finger of a contact frame, as a test describes it. Turned into a
// 96-byte contact record with the framework's layout.
struct SimFinger {
  int32_t id = 0;
  int32_t state = 4;  // 4 = touching
  float x = 0;        // normalized, 0 left .. 1 right
  float y = 0;        // normalized, 0 bottom .. 1 top
};

struct SimTrackpad {
  uint64_t id = 0;
  int32_t widthHundredthsMM = 16000;
  int32_t heightHundredthsMM = 10000;
  bool builtIn = true;
};

struct SimHidDevice {
  uint64_t id = 0;
  std::string product = "USB Optical Mouse";
  bool builtIn = false;
};

// A display as displays.json holds it (the same as DisplayDescription).
using SimDisplay = platform::DisplayDescription;

// One thing the simulated Mac did for the program under test.
struct Record {
  std::string kind;    // "passed", "warp", "associate", "tapCreated", "terminate", ...
  std::string detail;  // JSON text
};

class ManualClock;

// The simulated Mac: every platform service, with its state in files under
// `root` (its system folder) so that several processes share one machine.
// Tests make one per case; the helper's backend makes one for
// QUILLON_SIM_ROOT.
class Mac : public platform::Backend {
 public:
  struct Options {
    bool manualClock = false;  // tests: time moves only when told
    // "passed" records cost an allocation per posted event; benchmarks
    // switch them off. Warps go to a preallocated ring and stay cheap.
    bool recordEvents = true;
    bool recordWarps = true;
  };
  explicit Mac(std::filesystem::path root);
  Mac(std::filesystem::path root, Options options);
  ~Mac() override;
  Mac(const Mac&) = delete;
  Mac& operator=(const Mac&) = delete;

  platform::System& system() override;
  const std::filesystem::path& root() const;
  // $QUILLON_SIM_ROOT, else ~/.quillon-sim.
  static std::filesystem::path defaultRoot();

  // --- The machine's files (written whole and atomically) ---
  void setDisplays(const std::vector<platform::DisplayDescription>& displays);
  void setAccessibility(bool granted);
  void setInputMonitoring(bool granted);
  void setGlobalPreference(const std::string& key, const std::optional<platform::PrefValue>& v);
  void connectTrackpad(const SimTrackpad& pad);
  void connectHidDevice(const SimHidDevice& device);
  void disconnect(uint64_t deviceId);
  // Returns the new app's pid. An app that ignores terminate() stays
  // running until forceTerminate().
  int launchApp(const std::string& bundleIdentifier, bool ignoresTerminate = false);

  // --- Driving the program under test (in process) ---
  // Passes `event` through the installed, enabled tap (as on macOS, an
  // event reaches the tap on the main run loop); records and returns what
  // the tap passed on. Without a tap the event passes unchanged.
  SimEvent post(const SimEvent& event);
  // The same on `event` itself, without a copy; false if a tap dropped it.
  bool postInPlace(SimEvent& event);
  // The cursor as last warped.
  Point cursor() const;
  // Delivers one contact frame on the framework's own thread and waits
  // until the callback has returned.
  void contactFrame(uint64_t trackpadId, const std::vector<SimFinger>& fingers, double timestamp);
  // Delivers a raw HID value (usage page 1) to the HID callback, on the
  // calling thread, which stands for the main run loop. False when no
  // scheduled, open manager took it (unknown device, usage not matched).
  bool hidValue(uint64_t deviceId, uint32_t usage, int64_t value);
  // Sleep and wake: calls the wake observer (on the run loop when it runs
  // on another thread).
  void wake();

  // Like contactFrame, with the records exactly as given (null, a count of
  // 0, negative or above 16 included). False when the device is unknown,
  // has no callback or was not started.
  bool contactFrameRaw(uint64_t trackpadId, const void* records, int32_t count, double timestamp);
  // A finger resting on the trackpad and moving back and forth: the
  // framework's own thread sends the device a frame every `intervalSeconds`
  // of real time, by itself and whatever the run loop does, until
  // stopFrameStream() or the Mac's end. Frames reach the program only while
  // the device has a callback and is started, like any frame.
  void startFrameStream(uint64_t trackpadId, double intervalSeconds = 0.001);
  void stopFrameStream();
  struct FrameStreamCounts {
    uint64_t sent = 0;       // frames the stream made
    uint64_t delivered = 0;  // of them, the frames a callback received
  };
  FrameStreamCounts frameStreamCounts() const;
  // Another program moves the pointer (not a warp of the program under test).
  void moveCursor(Point p);
  // The system switches the taps off and tells their callbacks, with
  // event_type::kTapDisabledByTimeout or kTapDisabledByUserInput.
  void disableTaps(uint32_t reason);

  // --- Knobs for failure tests ---
  void setMissingFunction(platform::MTFunction function, bool missing = true);
  // MTDeviceStart's result for one device (0 by default).
  void setStartResult(uint64_t trackpadId, int32_t result);
  void setMultitouchLoadable(bool loadable);
  // MTDeviceCreateList gives no list.
  void setDeviceListAvailable(bool available);

  // --- What happened ---
  ManualClock* manualClock();  // null unless Options::manualClock
  SimRunLoop& runLoop();
  // In order. Only the latest 4096 warps and associations are kept.
  std::vector<Record> records() const;
  std::vector<Record> records(const std::string& kind) const;
  void clearRecords();
  uint64_t warpCount() const;
  uint64_t associateCount() const;

  // Serves the control socket <root>/control.sock on the run loop
  // (docs/simulated-mac.md). Called by the helper's `run` on this backend.
  // False (and a line on stderr) when the socket cannot be bound.
  bool serveControlSocket();
  void willRun() override { serveControlSocket(); }
  std::filesystem::path controlSocketPath() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// A clock whose time moves only when told; sleep() advances it and then
// calls the sleep hook, so that a test can act while the program under test
// "sleeps" (grant a permission on the third poll, say).
class ManualClock : public platform::Clock {
 public:
  double uptime() override { return now_.load(); }
  void sleep(double seconds) override {
    advance(seconds);
    if (sleepHook_) sleepHook_(seconds);
  }
  void set(double t) { now_.store(t); }
  void advance(double seconds) { now_.store(now_.load() + seconds); }
  // Called on the sleeping thread after each sleep. Set it before use.
  void setSleepHook(std::function<void(double seconds)> hook) { sleepHook_ = std::move(hook); }

 private:
  std::atomic<double> now_{1000};  // read from the contact thread too
  std::function<void(double)> sleepHook_;
};

}  // namespace quillon::sim
