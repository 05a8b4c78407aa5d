// The app's curve preview on the main thread: a redraw with the Windows
// curve already cached, and a slider moving over settings already seen.
// Goals: updatePreview() under 50 us; no child process for seen keys.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QCoreApplication>
#include <filesystem>

#include "app/core/model.h"
#include "app/core/no_windows.h"
#include "app/core/preview.h"
#include "app/core/preview_runner.h"
#include "app/core/qt_run_loop.h"
#include "fake_mac.h"

namespace {

using namespace quillon;
using namespace quillon::app;

// Answers every request at once with a 401-point curve, and counts them.
class CountingRunner final : public PreviewRunner {
 public:
  void start(const std::vector<std::string>&, Done done) override {
    ++started;
    CurvePoints points;
    for (int i = 0; i <= kGridSteps; ++i) points.append({i * 1.0, 5.0 + i * 0.01});
    done(std::move(points));
  }
  int started = 0;
};

// One model on an in-memory Mac, in a folder of its own.
struct Bench {
  Bench()
      : root(std::filesystem::temp_directory_path() /
             ("quillon-bench-app-" + std::to_string(::getpid()))),
        mac(root / "mac"),
        env{mac.system(), Paths::forHome(root / "home"), runLoop, 501, {}, {}},
        model(env, windows, runner) {
    model.setDevice(Device::trackpad);
    model.setMode(Mode::windows);
  }
  ~Bench() { std::filesystem::remove_all(root); }

  std::filesystem::path root;
  app::test::FakeMac mac;
  QtRunLoop runLoop;
  Env env;
  NoWindows windows;
  CountingRunner runner;
  Model model;
};

void BM_UpdatePreviewCachedWindowsCurve(benchmark::State& state) {
  Bench b;
  b.model.updatePreview();  // cached from here on
  const int before = b.runner.started;
  for (auto _ : state) {
    b.model.updatePreview();
    benchmark::DoNotOptimize(b.model.curves());
  }
  if (b.runner.started != before) state.SkipWithError("a cached curve started a child");
}
BENCHMARK(BM_UpdatePreviewCachedWindowsCurve)->Unit(benchmark::kMicrosecond);

// The custom curve recomputed each time (the acceleration slider moves),
// the Windows curve cached.
void BM_UpdatePreviewNewCustomCurve(benchmark::State& state) {
  Bench b;
  b.model.updatePreview();
  double accel = 0.5;
  for (auto _ : state) {
    b.model.cfg().accel = accel;
    accel = accel == 0.5 ? 0.6 : 0.5;
    b.model.updatePreview();
    benchmark::DoNotOptimize(b.model.curves());
  }
}
BENCHMARK(BM_UpdatePreviewNewCustomCurve)->Unit(benchmark::kMicrosecond);

// 200 steps of the Windows speed slider, back and forth over 1 ... 20.
void BM_SliderOverSeenSettings(benchmark::State& state) {
  Bench b;
  auto winSpeed = b.model.binding(&DeviceConfig::winSpeed);
  for (int v = 1; v <= 20; ++v) winSpeed(v);  // each setting seen once
  const int before = b.runner.started;
  for (auto _ : state) {
    for (int step = 0; step < 200; ++step) {
      const int phase = step % 38;  // 1 ... 20 ... 2
      winSpeed(phase < 20 ? phase + 1 : 39 - phase);
    }
  }
  state.counters["children"] = b.runner.started - before;
  if (b.runner.started != before) state.SkipWithError("seen settings started a child");
}
BENCHMARK(BM_SliderOverSeenSettings)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The model's delayed save is a Qt timer: it needs the application object.
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
