// The per-event costs of the pipeline, as the tap and the contact thread
// pay them. Goals: a motion event under 125 ns, a 16-finger frame under
// 300 ns.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "helper/contacts.h"
#include "helper/tap.h"
#include "sim/sim_mac.h"
#include "sim/sim_multitouch.h"

namespace quillon {
namespace {

namespace et = platform::event_type;
namespace field = platform::field;

std::shared_ptr<const Curve> risingCurve() {
  Curve c;
  c.speed = 5;
  c.accel = 1;
  c.maxBoost = 4;
  return std::make_shared<const Curve>(c);
}

// A simulated Mac without event records, one helper on it.
struct Rig {
  Rig()
      : root(std::filesystem::temp_directory_path() / "quillon-bench-pipeline"),
        mac(root, {.manualClock = true, .recordEvents = false, .recordWarps = false}),
        state(mac.system(), Paths::forHome(root)) {
    mac.setDisplays(
        {{{0, 0, 1440, 900}, 300, 190, true}, {{1440, 0, 1920, 1080}, 520, 290, false}});
    state.shared.display = state.screens.displayInfo();
    mac.connectTrackpad({7, 16000, 10000, true});
    startMultitouch(state, false);
    std::lock_guard guard(state.lock);
    state.shared.mouseCurve = risingCurve();
    state.shared.trackpadCurve = risingCurve();
    state.shared.mouseScroll = {.natural = true, .accelOff = true, .speed = 0.7};
    pad = state.shared.pads.at(0).ref;
  }
  ~Rig() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  std::filesystem::path root;
  sim::Mac mac;
  HelperState state;
  platform::MTDeviceRef pad = nullptr;
};

// Raw counts waiting, then the system's event: curve lookup, smoothing,
// move, the display test. `clamped` puts every step off the displays' edge.
void mouseMotion(benchmark::State& bench, bool clamped) {
  Rig rig;
  rig.state.main.hidWorking = true;
  sim::ManualClock& clock = *rig.mac.manualClock();
  const Point at = clamped ? Point{3359, 500} : Point{700, 450};
  sim::SimEvent e;
  e.type = et::kMouseMoved;
  int i = 0;
  for (auto _ : bench) {
    clock.advance(0.001);
    const bool odd = (++i & 1) != 0;
    rig.state.main.mouseCountX = odd || clamped ? 9 : -9;
    rig.state.main.mouseCountY = odd ? 3 : -3;
    e.location = at;
    benchmark::DoNotOptimize(tapCallback(&rig.state, e.type, &e));
  }
}
void BM_MouseMotion(benchmark::State& bench) {
  mouseMotion(bench, false);
}
void BM_MouseMotionClamped(benchmark::State& bench) {
  mouseMotion(bench, true);
}

// n touching fingers in a column at x, as the framework lays them out.
std::vector<unsigned char> fingers(int n, float x) {
  std::vector<sim::SimFinger> column;
  for (int i = 0; i < n; ++i) column.push_back({i + 1, 4, x, 0.1f + 0.05f * float(i)});
  return sim::contactRecords(column);
}

// One frame of `range(0)` fingers, all moving, matched against the last.
void BM_ContactFrame(benchmark::State& bench) {
  Rig rig;
  const int n = static_cast<int>(bench.range(0));
  const std::vector<unsigned char> a = fingers(n, 0.40f), b = fingers(n, 0.41f);
  double t = 1;
  int i = 0;
  for (auto _ : bench) {
    const std::vector<unsigned char>& f = (++i & 1) ? a : b;
    benchmark::DoNotOptimize(contactCallback(&rig.state, rig.pad, f.data(), n, t += 0.008, i));
  }
}

// A wheel event with acceleration off and a speed factor.
void BM_ScrollAccelOffSpeed(benchmark::State& bench) {
  Rig rig;
  sim::SimEvent e;
  e.type = et::kScrollWheel;
  for (auto _ : bench) {
    e.ints[field::kScrollDeltaAxis1] = 4;
    e.doubles[field::kScrollFixedPtDeltaAxis1] = 4;
    e.ints[field::kScrollPointDeltaAxis1] = 48;
    benchmark::DoNotOptimize(tapCallback(&rig.state, e.type, &e));
  }
}

BENCHMARK(BM_MouseMotion);
BENCHMARK(BM_MouseMotionClamped);
BENCHMARK(BM_ContactFrame)->Arg(2)->Arg(16);
BENCHMARK(BM_ScrollAccelOffSpeed);

}  // namespace
}  // namespace quillon

BENCHMARK_MAIN();
