#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quillon/platform/system.h"

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
  void launchApp(const std::string& bundleIdentifier);

  // --- Driving the program under test (in process) ---
  // Passes `event` through the installed, enabled tap (as on macOS, an
  // event reaches the tap on the main run loop); records and returns what
  // the tap passed on. Without a tap the event passes unchanged.
  SimEvent post(const SimEvent& event);
  // The cursor as last warped.
  Point cursor() const;
  // Delivers one contact frame on the framework's own thread and waits
  // until the callback has returned.
  void contactFrame(uint64_t trackpadId, const std::vector<SimFinger>& fingers, double timestamp);
  // Delivers a raw HID value (usage page 1) to the HID callback, on the
  // calling thread, which stands for the main run loop.
  void hidValue(uint64_t deviceId, uint32_t usage, int64_t value);
  // Sleep and wake: calls the wake observer.
  void wake();

  ManualClock* manualClock();  // null unless Options::manualClock
  std::vector<Record> records() const;
  void clearRecords();

  // Serves the control socket <root>/control.sock on the run loop
  // (docs/simulated-mac.md). Called by the helper's `run` on this backend.
  void serveControlSocket();
  void willRun() override { serveControlSocket(); }

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// A clock whose time moves only when told; sleep() advances it.
class ManualClock : public platform::Clock {
 public:
  double uptime() override { return now_.load(); }
  void sleep(double seconds) override { advance(seconds); }
  void set(double t) { now_.store(t); }
  void advance(double seconds) { now_.store(now_.load() + seconds); }

 private:
  std::atomic<double> now_{1000};  // read from the contact thread too
};

}  // namespace quillon::sim
