// The simulated Mac: what the helper relies on from each service, and the
// machine's state shared through its files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "sim/sim_mac.h"
#include "sim/sim_records.h"

namespace quillon::sim {
namespace {

using platform::MTFunction;
namespace et = platform::event_type;
namespace fld = platform::field;

class TempRoot {
 public:
  TempRoot() {
    char tmpl[] = "/tmp/quillon-sim-test-XXXXXX";
    path_ = mkdtemp(tmpl);
  }
  ~TempRoot() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name) << text;
  }

 private:
  std::filesystem::path path_;
};

class SimTest : public ::testing::Test {
 protected:
  TempRoot root;
  Mac mac{root.path(), Mac::Options{.manualClock = true}};
  platform::System& sys = mac.system();
};

std::vector<std::string> kinds(const std::vector<Record>& records) {
  std::vector<std::string> out;
  out.reserve(records.size());
  for (const auto& r : records) out.push_back(r.kind);
  return out;
}

// --- Files shared between processes ---

TEST_F(SimTest, SecondInstanceOnTheSameRootSeesEveryFile) {
  Mac other(root.path());
  other.setDisplays({{{0, 0, 1440, 900}, 300, 190, true}, {{1440, 0, 1920, 1080}, 0, 0, false}});
  other.setAccessibility(true);
  other.setGlobalPreference("com.apple.swipescrolldirection", false);
  other.connectTrackpad({.id = 5, .widthHundredthsMM = 13000, .heightHundredthsMM = 8000});

  auto displays = sys.displays.activeDisplays();
  ASSERT_EQ(displays.size(), 2u);
  EXPECT_EQ(displays[1].bounds, (platform::Rect{1440, 0, 1920, 1080}));
  EXPECT_EQ(displays[0].widthMM, 300);
  EXPECT_TRUE(displays[0].builtIn);
  EXPECT_TRUE(sys.accessibility.isTrusted(false));
  EXPECT_EQ(sys.preferences.globalValue("com.apple.swipescrolldirection"),
            std::optional<platform::PrefValue>(false));
  EXPECT_EQ(sys.multitouch.registryDeviceCount(), 1);

  sys.preferences.setGlobalValue("com.apple.swipescrolldirection", std::nullopt);
  EXPECT_FALSE(other.system().preferences.globalValue("com.apple.swipescrolldirection"));
}

TEST_F(SimTest, MissingFilesAreAnEmptyMachine) {
  EXPECT_TRUE(sys.displays.activeDisplays().empty());
  EXPECT_FALSE(sys.accessibility.isTrusted(false));
  EXPECT_FALSE(sys.hid.listenEventAccessGranted());
  EXPECT_FALSE(sys.preferences.globalValue("anything"));
  EXPECT_EQ(sys.multitouch.registryDeviceCount(), 0);
  EXPECT_TRUE(sys.workspace.runningApplications("com.example").empty());
}

TEST_F(SimTest, MalformedFilesReadAsMissing) {
  const std::pair<const char*, const char*> cases[] = {
      {"displays.json", "{\"displays\":[{\"bounds\":[0,0,100"},
      {"displays.json", "{\"displays\":[{\"bounds\":[0,0,100]}]}"},
      {"displays.json", "{\"displays\":\"many\"}"},
      {"permissions.json", "{\"accessibility\":\"yes\"}"},
      {"permissions.json", "[true]"},
      {"devices.json", "{\"trackpads\":[{\"id\":-1}]}"},
      {"devices.json", "{\"trackpads\":[{\"widthHundredthsMM\":1}]}"},
      {"preferences.json", "[1,2,3]"},
      {"apps.json", "{\"pid\":1}"},
      {"apps.json", "\x01\xff"},
  };
  for (const auto& [file, text] : cases) {
    SCOPED_TRACE(std::string(file) + ": " + text);
    root.write(file, text);
    EXPECT_TRUE(sys.displays.activeDisplays().empty());
    EXPECT_FALSE(sys.accessibility.isTrusted(false));
    EXPECT_EQ(sys.multitouch.registryDeviceCount(), 0);
    EXPECT_FALSE(sys.preferences.globalValue("k"));
    EXPECT_TRUE(sys.workspace.runningApplications("a").empty());
    std::filesystem::remove(root.path() / file);
  }
}

TEST_F(SimTest, UpdatingAMalformedFileStartsAfresh) {
  root.write("devices.json", "not json");
  mac.connectHidDevice({.id = 7});
  mac.connectTrackpad({.id = 1});
  EXPECT_EQ(sys.multitouch.registryDeviceCount(), 1);
  mac.disconnect(1);
  EXPECT_EQ(sys.multitouch.registryDeviceCount(), 0);
}

// --- Permissions and the event tap ---

platform::EventRef passThrough(void*, uint32_t, platform::EventRef e) {
  return e;
}

TEST_F(SimTest, PermissionGrantedByAnotherProcessIsSeenOnTheNextCall) {
  EXPECT_FALSE(sys.taps.createTap(platform::TapPlacement::tail, 0, passThrough, nullptr));
  EXPECT_FALSE(sys.accessibility.isTrusted(true));
  Mac(root.path()).setAccessibility(true);
  EXPECT_TRUE(sys.accessibility.isTrusted(false));
  EXPECT_TRUE(sys.taps.createTap(platform::TapPlacement::tail, 0, passThrough, nullptr));
  EXPECT_EQ(kinds(mac.records()),
            (std::vector<std::string>{"tapRefused", "accessibilityPrompt", "tapCreated"}));
}

TEST_F(SimTest, SleepHookLetsATestGrantWhileTheProgramWaits) {
  int polls = 0;
  mac.manualClock()->setSleepHook([&](double) {
    if (++polls == 3) mac.setAccessibility(true);
  });
  double start = sys.clock.uptime();
  while (!sys.taps.createTap(platform::TapPlacement::tail, 0, passThrough, nullptr))
    sys.clock.sleep(1);
  EXPECT_EQ(polls, 3);
  EXPECT_DOUBLE_EQ(sys.clock.uptime() - start, 3);
}

// Doubles the deltas and moves the event 10 points right, as a pointer
// handler rewrites events.
struct Rewriter {
  platform::EventTaps* taps;
  std::vector<uint32_t> seen;
  static platform::EventRef call(void* ctx, uint32_t type, platform::EventRef e) {
    auto* self = static_cast<Rewriter*>(ctx);
    self->seen.push_back(type);
    auto& t = *self->taps;
    t.setIntegerField(e, fld::kMouseEventDeltaX, 2 * t.integerField(e, fld::kMouseEventDeltaX));
    t.setDoubleField(e, fld::kScrollFixedPtDeltaAxis1, 1.5);
    auto p = t.location(e);
    t.setLocation(e, {p.x + 10, p.y});
    return e;
  }
};

class TapTest : public SimTest {
 protected:
  void SetUp() override { mac.setAccessibility(true); }
  platform::TapPort install(Rewriter& r, uint64_t mask,
                            platform::TapPlacement at = platform::TapPlacement::head) {
    r.taps = &sys.taps;
    auto port = sys.taps.createTap(at, mask, Rewriter::call, &r);
    sys.taps.addToMainRunLoop(port);
    sys.taps.enable(port, true);
    return port;
  }
  static SimEvent motion(int64_t dx, Point at) {
    SimEvent e;
    e.type = et::kMouseMoved;
    e.ints[fld::kMouseEventDeltaX] = dx;
    e.location = at;
    return e;
  }
};

TEST_F(TapTest, PostRunsTheTapAndRecordsWhatPassed) {
  Rewriter r;
  install(r, platform::eventMaskBit(et::kMouseMoved));
  mac.clearRecords();
  SimEvent out = mac.post(motion(3, {100, 50}));
  EXPECT_EQ(out.ints[fld::kMouseEventDeltaX], 6);
  EXPECT_EQ(out.location, (Point{110, 50}));
  EXPECT_EQ(mac.cursor(), (Point{110, 50}));  // the system moves the pointer to what passed
  auto rec = mac.records();
  ASSERT_EQ(rec.size(), 1u);
  EXPECT_EQ(rec[0].kind, "passed");
  EXPECT_EQ(nlohmann::json::parse(rec[0].detail),
            nlohmann::json::parse(R"({"type":5,"location":[110.0,50.0],"fields":{"4":6},
                                      "doubles":{"93":1.5}})"));
}

TEST_F(TapTest, OnlyEnabledScheduledTapsOfTheMaskSeeEvents) {
  Rewriter probe, main, unscheduled;
  install(probe, 0, platform::TapPlacement::tail);  // the permission probe: empty mask
  auto port = install(main, platform::eventMaskBit(et::kScrollWheel));
  unscheduled.taps = &sys.taps;
  sys.taps.createTap(platform::TapPlacement::head, ~uint64_t{0}, Rewriter::call, &unscheduled);

  mac.post(motion(1, {}));
  SimEvent scroll;
  scroll.type = et::kScrollWheel;
  mac.post(scroll);
  sys.taps.enable(port, false);
  mac.post(scroll);
  sys.taps.enable(port, true);
  sys.taps.invalidate(port);
  sys.taps.enable(port, true);  // an invalidated port stays dead
  mac.post(scroll);
  EXPECT_TRUE(probe.seen.empty());
  EXPECT_TRUE(unscheduled.seen.empty());
  EXPECT_EQ(main.seen, std::vector<uint32_t>{et::kScrollWheel});
}

TEST_F(TapTest, HeadTapsMadeLaterSeeTheEventFirst) {
  std::vector<int> order;
  struct Tagged {
    std::vector<int>* order;
    int tag;
    static platform::EventRef call(void* c, uint32_t, platform::EventRef e) {
      auto* t = static_cast<Tagged*>(c);
      t->order->push_back(t->tag);
      return e;
    }
  } tail{&order, 3}, head1{&order, 2}, head2{&order, 1};
  for (auto [tag, at] : {std::pair{&tail, platform::TapPlacement::tail},
                         std::pair{&head1, platform::TapPlacement::head},
                         std::pair{&head2, platform::TapPlacement::head}}) {
    auto p = sys.taps.createTap(at, ~uint64_t{0}, Tagged::call, tag);
    sys.taps.addToMainRunLoop(p);
  }
  mac.post(motion(0, {}));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(TapTest, DisabledTapIsToldAndCanEnableItselfAgain) {
  struct Reenabler {
    platform::EventTaps* taps;
    platform::TapPort port = nullptr;
    std::vector<uint32_t> seen;
    static platform::EventRef call(void* c, uint32_t type, platform::EventRef e) {
      auto* self = static_cast<Reenabler*>(c);
      self->seen.push_back(type);
      if (type == et::kTapDisabledByTimeout) self->taps->enable(self->port, true);
      return e;
    }
  } r{&sys.taps, nullptr, {}};
  r.port = sys.taps.createTap(platform::TapPlacement::head, platform::eventMaskBit(et::kMouseMoved),
                              Reenabler::call, &r);
  sys.taps.addToMainRunLoop(r.port);
  mac.disableTaps(et::kTapDisabledByTimeout);
  mac.post(motion(1, {}));
  EXPECT_EQ(r.seen, (std::vector<uint32_t>{et::kTapDisabledByTimeout, et::kMouseMoved}));
}

TEST_F(TapTest, FieldNumbersOutOfRangeReadZeroAndWriteNothing) {
  SimEvent e;
  SimEvent before = e;
  for (int f : {-1, -1000, SimEvent::kFields, 1 << 30}) {
    sys.taps.setIntegerField(&e, f, 42);
    sys.taps.setDoubleField(&e, f, 4.2);
    EXPECT_EQ(sys.taps.integerField(&e, f), 0);
    EXPECT_EQ(sys.taps.doubleField(&e, f), 0);
  }
  EXPECT_EQ(e.ints, before.ints);
  EXPECT_EQ(e.doubles, before.doubles);
  EXPECT_EQ(sys.taps.integerField(nullptr, 4), 0);
}

TEST_F(SimTest, WarpsAreRecordedInOrderWithOtherRecords) {
  mac.setAccessibility(true);
  sys.cursor.warp({1, 2});
  sys.cursor.associateMouseAndCursor();
  sys.accessibility.isTrusted(true);
  sys.cursor.warp({3, 4});
  EXPECT_EQ(kinds(mac.records()),
            (std::vector<std::string>{"warp", "associate", "accessibilityPrompt", "warp"}));
  EXPECT_EQ(mac.records("warp").back().detail, R"({"x":3.0,"y":4.0})");
  EXPECT_EQ(mac.cursor(), (Point{3, 4}));
  EXPECT_EQ(mac.warpCount(), 2u);
  EXPECT_EQ(mac.associateCount(), 1u);
}

TEST_F(SimTest, WarpRingKeepsTheLatestAndCountsAll) {
  const int n = 5000;
  for (int i = 0; i < n; ++i) sys.cursor.warp({double(i), 0});
  auto warps = mac.records("warp");
  ASSERT_EQ(warps.size(), 4096u);
  EXPECT_EQ(warps.back().detail, R"({"x":4999.0,"y":0.0})");
  EXPECT_EQ(mac.warpCount(), uint64_t(n));
  mac.clearRecords();
  EXPECT_TRUE(mac.records().empty());
}

// --- Multitouch ---

struct FrameLog {
  std::thread::id thread;
  platform::MTDeviceRef device = nullptr;
  std::vector<unsigned char> bytes;
  int32_t count = -99;
  double timestamp = 0;
  int frames = 0;
  static int32_t call(void* c, platform::MTDeviceRef dev, const void* fingers, int32_t count,
                      double ts, int32_t) {
    auto* log = static_cast<FrameLog*>(c);
    log->thread = std::this_thread::get_id();
    log->device = dev;
    log->count = count;
    log->timestamp = ts;
    log->frames++;
    auto* p = static_cast<const unsigned char*>(fingers);
    log->bytes.assign(p, p + (fingers && count > 0 ? count * platform::kMTFingerSize : 0));
    return 0;
  }
};

class MultitouchTest : public SimTest {
 protected:
  void SetUp() override {
    mac.connectTrackpad({.id = 1, .widthHundredthsMM = 16000, .heightHundredthsMM = 10000});
    mac.connectTrackpad({.id = 2, .widthHundredthsMM = 7000, .builtIn = false});
    ASSERT_TRUE(sys.multitouch.load());
  }
  platform::MTDeviceRef start(size_t index, FrameLog& log) {
    auto list = sys.multitouch.createList();
    auto dev = list->at(index);
    sys.multitouch.registerContactFrameCallback(dev, FrameLog::call, &log);
    sys.multitouch.deviceStart(dev, 0);
    return dev;
  }
};

TEST_F(MultitouchTest, DevicesComeFromTheFileWithStableHandles) {
  auto list = sys.multitouch.createList();
  ASSERT_EQ(list->size(), 2u);
  uint64_t id = 0;
  int32_t w = 0, h = 0;
  EXPECT_EQ(sys.multitouch.getDeviceID(list->at(1), &id), 0);
  EXPECT_EQ(id, 2u);
  EXPECT_EQ(sys.multitouch.getSensorSurfaceDimensions(list->at(0), &w, &h), 0);
  EXPECT_EQ(std::pair(w, h), std::pair(16000, 10000));
  EXPECT_TRUE(sys.multitouch.isBuiltIn(list->at(0)));
  EXPECT_FALSE(sys.multitouch.isBuiltIn(list->at(1)));
  EXPECT_EQ(sys.multitouch.createList()->at(0), list->at(0));
  mac.disconnect(1);
  EXPECT_EQ(sys.multitouch.createList()->size(), 1u);
  EXPECT_EQ(sys.multitouch.getDeviceID(list->at(0), &id), 0);  // kept handles stay usable
}

TEST_F(MultitouchTest, FramesArriveOnTheFrameworksThreadWithTheRecordLayout) {
  FrameLog log;
  auto dev = start(0, log);
  mac.contactFrame(1, {{.id = 7, .state = 4, .x = 0.25f, .y = 0.75f}, {.id = 9, .state = 1}}, 12.5);
  ASSERT_EQ(log.frames, 1);  // contactFrame waited for the callback
  EXPECT_NE(log.thread, std::this_thread::get_id());
  EXPECT_EQ(log.device, dev);
  EXPECT_EQ(log.count, 2);
  EXPECT_EQ(log.timestamp, 12.5);
  ASSERT_EQ(log.bytes.size(), 192u);
  auto i32 = [&](size_t off) {
    int32_t v;
    std::memcpy(&v, &log.bytes[off], 4);
    return v;
  };
  auto f32 = [&](size_t off) {
    float v;
    std::memcpy(&v, &log.bytes[off], 4);
    return v;
  };
  EXPECT_EQ(i32(16), 7);
  EXPECT_EQ(i32(20), 4);
  EXPECT_EQ(f32(32), 0.25f);
  EXPECT_EQ(f32(36), 0.75f);
  EXPECT_EQ(i32(96 + 16), 9);
  EXPECT_EQ(i32(96 + 20), 1);
  int nonzero = 0;
  for (size_t b = 0; b < 96; ++b)
    if (log.bytes[b] && (b < 16 || b >= 24) && (b < 32 || b >= 40)) ++nonzero;
  EXPECT_EQ(nonzero, 0);
}

TEST_F(MultitouchTest, RawFramesPassAsGiven) {
  FrameLog log;
  start(0, log);
  EXPECT_TRUE(mac.contactFrameRaw(1, nullptr, 3, 1.0));
  EXPECT_EQ(log.count, 3);
  EXPECT_TRUE(log.bytes.empty());
  EXPECT_TRUE(mac.contactFrameRaw(1, nullptr, -5, 2.0));
  EXPECT_EQ(log.count, -5);
}

TEST_F(MultitouchTest, OnlyStartedDevicesWithACallbackGetFrames) {
  FrameLog log;
  mac.setStartResult(2, 7);
  auto list = sys.multitouch.createList();
  sys.multitouch.registerContactFrameCallback(list->at(1), FrameLog::call, &log);
  EXPECT_FALSE(mac.contactFrameRaw(1, nullptr, 0, 0));  // no callback, not started
  EXPECT_EQ(sys.multitouch.deviceStart(list->at(1), 0), 7);
  EXPECT_FALSE(mac.contactFrameRaw(2, nullptr, 0, 0));
  mac.setStartResult(2, 0);
  EXPECT_EQ(sys.multitouch.deviceStart(list->at(1), 0), 0);
  EXPECT_TRUE(mac.contactFrameRaw(2, nullptr, 0, 0));
  mac.disconnect(2);
  EXPECT_FALSE(mac.contactFrameRaw(2, nullptr, 0, 0));
  EXPECT_EQ(log.frames, 1);
}

TEST_F(MultitouchTest, KnobsRemoveFunctionsAndTheList) {
  mac.setMissingFunction(MTFunction::deviceStart);
  EXPECT_FALSE(sys.multitouch.has(MTFunction::deviceStart));
  EXPECT_TRUE(sys.multitouch.has(MTFunction::isBuiltIn));
  mac.setMissingFunction(MTFunction::deviceStart, false);
  EXPECT_TRUE(sys.multitouch.has(MTFunction::deviceStart));
  mac.setDeviceListAvailable(false);
  EXPECT_FALSE(sys.multitouch.createList());
  Mac unloadable(root.path());
  unloadable.setMultitouchLoadable(false);
  EXPECT_FALSE(unloadable.system().multitouch.load());
  EXPECT_FALSE(unloadable.system().multitouch.has(MTFunction::createList));
}

TEST_F(MultitouchTest, StoppedOrUnregisteredDevicesGetNoFrames) {
  FrameLog log;
  auto dev = start(0, log);
  EXPECT_TRUE(mac.contactFrameRaw(1, nullptr, 0, 1));
  sys.multitouch.deviceStop(dev);
  EXPECT_FALSE(mac.contactFrameRaw(1, nullptr, 0, 2));
  EXPECT_EQ(sys.multitouch.deviceStart(dev, 0), 0);
  EXPECT_TRUE(mac.contactFrameRaw(1, nullptr, 0, 3));
  sys.multitouch.unregisterContactFrameCallback(dev);
  EXPECT_FALSE(mac.contactFrameRaw(1, nullptr, 0, 4));
  EXPECT_EQ(log.frames, 2);
  const std::vector<Record> stops = mac.records("deviceStop");
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_EQ(nlohmann::json::parse(stops[0].detail), (nlohmann::json{{"id", 1}}));
  EXPECT_EQ(mac.records("unregisterContactFrameCallback").size(), 1u);
}

// A callback that holds its frame until it is let go.
struct HeldFrame {
  std::atomic<bool> entered{false};
  std::atomic<bool> release{false};
  static int32_t call(void* c, platform::MTDeviceRef, const void*, int32_t, double, int32_t) {
    auto* held = static_cast<HeldFrame*>(c);
    held->entered = true;
    while (!held->release) std::this_thread::yield();
    return 0;
  }
};

TEST_F(MultitouchTest, UnregisteringWaitsForTheFrameUnderWay) {
  HeldFrame held;
  auto dev = sys.multitouch.createList()->at(0);
  sys.multitouch.registerContactFrameCallback(dev, HeldFrame::call, &held);
  sys.multitouch.deviceStart(dev, 0);
  std::thread sender([&] { mac.contactFrameRaw(1, nullptr, 0, 1); });
  while (!held.entered) std::this_thread::yield();

  std::atomic<bool> unregistered{false};
  std::thread helper([&] {
    sys.multitouch.unregisterContactFrameCallback(dev);
    unregistered = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(unregistered);  // the frame is still being handled
  held.release = true;
  helper.join();
  sender.join();
  EXPECT_TRUE(unregistered);
  EXPECT_FALSE(mac.contactFrameRaw(1, nullptr, 0, 2));
}

// Counts what a stream delivers, and where.
struct StreamLog {
  std::thread::id testThread = std::this_thread::get_id();
  std::atomic<int> frames{0};
  std::atomic<int> elsewhere{0};  // frames on another thread than the test's
  std::atomic<int> oneTouchingFinger{0};
  static int32_t call(void* c, platform::MTDeviceRef, const void* fingers, int32_t count, double,
                      int32_t) {
    auto* log = static_cast<StreamLog*>(c);
    ++log->frames;
    if (std::this_thread::get_id() != log->testThread) ++log->elsewhere;
    int32_t state = 0;
    if (fingers && count == 1) {
      std::memcpy(&state,
                  static_cast<const unsigned char*>(fingers) + platform::kMTFingerStateOffset,
                  sizeof state);
    }
    if (state == platform::kMTFingerTouching) ++log->oneTouchingFinger;
    return 0;
  }
};

TEST_F(MultitouchTest, AStreamSendsFramesByItselfUntilStopped) {
  StreamLog log;
  auto dev = sys.multitouch.createList()->at(0);
  mac.startFrameStream(1, 0.001);
  // However slow the machine, the stream's thread sends by itself.
  for (int i = 0; i < 10000 && mac.frameStreamCounts().sent == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_GT(mac.frameStreamCounts().sent, 0u);  // sent, but nobody takes them yet
  EXPECT_EQ(mac.frameStreamCounts().delivered, 0u);

  sys.multitouch.registerContactFrameCallback(dev, StreamLog::call, &log);
  sys.multitouch.deviceStart(dev, 0);
  for (int i = 0; i < 10000 && log.frames < 5; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  mac.stopFrameStream();  // returns once a frame under way is counted
  const Mac::FrameStreamCounts stopped = mac.frameStreamCounts();
  EXPECT_GE(log.frames, 5);
  EXPECT_EQ(stopped.delivered, static_cast<uint64_t>(log.frames));
  EXPECT_EQ(log.elsewhere, log.frames);
  EXPECT_EQ(log.oneTouchingFinger, log.frames);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(mac.frameStreamCounts().sent, stopped.sent);
}

// --- HID ---

struct HidLog {
  std::vector<platform::HidValue> values;
  std::vector<platform::HidDeviceRef> removed;
  static void value(void* c, const platform::HidValue& v) {
    static_cast<HidLog*>(c)->values.push_back(v);
  }
  static void removal(void* c, platform::HidDeviceRef d) {
    static_cast<HidLog*>(c)->removed.push_back(d);
  }
};

TEST_F(SimTest, HidManagerReadsOnlyOnceOpenAndOnlyMatchedUsages) {
  mac.connectHidDevice({.id = 7, .product = "USB Optical Mouse"});
  mac.connectTrackpad({.id = 1, .builtIn = false});
  HidLog log;
  auto m = sys.hid.createManager({1, 2}, {{1, 48}, {1, 49}});
  sys.hid.setCallbacks(m, HidLog::value, HidLog::removal, &log);
  sys.hid.schedule(m);
  EXPECT_FALSE(sys.hid.open(m));
  EXPECT_FALSE(mac.hidValue(7, 48, 5));
  mac.setInputMonitoring(true);
  EXPECT_TRUE(sys.hid.listenEventAccessGranted());
  EXPECT_TRUE(sys.hid.open(m));
  EXPECT_TRUE(mac.hidValue(7, 48, 5));
  EXPECT_FALSE(mac.hidValue(7, 56, 1));   // the wheel is not matched
  EXPECT_FALSE(mac.hidValue(99, 48, 1));  // no such device
  EXPECT_TRUE(mac.hidValue(1, 49, -3));   // a trackpad is a pointing device too
  ASSERT_EQ(log.values.size(), 2u);
  EXPECT_EQ(log.values[0].usage.usage, 48u);
  EXPECT_EQ(log.values[0].integer, 5);
  EXPECT_EQ(log.values[1].integer, -3);
  auto mouse = log.values[0].device, pad = log.values[1].device;
  EXPECT_EQ(sys.hid.stringProperty(mouse, "Product"), "USB Optical Mouse");
  EXPECT_EQ(sys.hid.boolProperty(mouse, "Built-In"), false);
  EXPECT_EQ(sys.hid.stringProperty(pad, "Product"), "Magic Trackpad");
  EXPECT_FALSE(sys.hid.boolProperty(pad, "Transport"));

  mac.disconnect(7);
  EXPECT_EQ(log.removed, std::vector<platform::HidDeviceRef>{mouse});
  EXPECT_FALSE(mac.hidValue(7, 48, 5));

  // Closed, the manager hears neither values nor removals.
  sys.hid.close(m);
  EXPECT_FALSE(mac.hidValue(1, 49, -3));
  mac.disconnect(1);
  EXPECT_EQ(log.values.size(), 2u);
  EXPECT_EQ(log.removed.size(), 1u);
}

// --- Workspace ---

TEST_F(SimTest, TerminateEndsAppsThatListenAndForceEndsTheRest) {
  int polite = mac.launchApp("com.example.warn");
  int stubborn = mac.launchApp("com.example.warn", true);
  mac.launchApp("com.example.other");
  EXPECT_EQ(sys.workspace.runningApplications("com.example.warn").size(), 2u);
  sys.workspace.terminate(polite);
  sys.workspace.terminate(stubborn);
  auto left = sys.workspace.runningApplications("com.example.warn");
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].pid, stubborn);
  sys.workspace.forceTerminate(stubborn);
  EXPECT_TRUE(sys.workspace.runningApplications("com.example.warn").empty());
  EXPECT_EQ(sys.workspace.runningApplications("com.example.other").size(), 1u);
  EXPECT_EQ(kinds(mac.records()),
            (std::vector<std::string>{"terminate", "terminate", "forceTerminate"}));
}

TEST_F(SimTest, ReconfigurationAndWakeCallbacksRunOnTheCallingThreadWhenIdle) {
  std::vector<bool> calls;
  sys.displays.setReconfigurationCallback([&](bool beginning) { calls.push_back(beginning); });
  int wakes = 0;
  sys.workspace.setWakeObserver([&] { ++wakes; });
  mac.setDisplays({{{0, 0, 800, 600}, 0, 0, false}});
  mac.wake();
  EXPECT_EQ(calls, (std::vector<bool>{true, false}));
  EXPECT_EQ(wakes, 1);
}

TEST(SimRecords, KeepsOnlyTheLatestRecords) {
  Recorder recorder(false);
  for (size_t i = 0; i < Recorder::kMaxRecords + 5; ++i) recorder.add("n", {{"i", i}});
  std::vector<Record> all = recorder.all();
  ASSERT_EQ(all.size(), Recorder::kMaxRecords);
  EXPECT_EQ(all.front().detail, R"({"i":5})");
  EXPECT_EQ(all.back().detail, nlohmann::json({{"i", Recorder::kMaxRecords + 4}}).dump());
}

}  // namespace
}  // namespace quillon::sim
