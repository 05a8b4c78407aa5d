// ptsPerMM, once per pointer movement: a formula curve (one pow) and the
// 20-point Windows trackpad curve (a linear scan).
#include <benchmark/benchmark.h>

#include <array>

#include "helper/curve.h"

namespace quillon {
namespace {

// Hand speeds spread over the whole curve, so the scan length varies.
std::array<double, 256> speeds() {
  std::array<double, 256> v{};
  for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<double>((i * 97) % 800);
  return v;
}

void run(benchmark::State& state, const Curve& curve) {
  const auto v = speeds();
  const DisplayInfo display{5.2, 1512, {}};
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(curve.ptsPerMM(v[i++ & 255], display));
  }
}

void BM_FormulaCurve(benchmark::State& state) {
  DeviceConfig c;
  c.mode = "custom";
  c.shape = 1.4;
  c.threshold = 20;
  run(state, *makeCurve(c, Device::trackpad, std::nullopt));
}
BENCHMARK(BM_FormulaCurve);

void BM_TableCurve20Points(benchmark::State& state) {
  DeviceConfig c;
  c.mode = "windows";
  c.winSpeed = 1;
  run(state, *makeCurve(c, Device::trackpad, std::nullopt));
}
BENCHMARK(BM_TableCurve20Points);

void BM_BuildWindowsMouseCurve(benchmark::State& state) {
  DeviceConfig c;
  c.mode = "windows";
  c.winSpeed = 7.5;
  for (auto _ : state) benchmark::DoNotOptimize(makeCurve(c, Device::mouse, std::nullopt));
}
BENCHMARK(BM_BuildWindowsMouseCurve);

}  // namespace
}  // namespace quillon

BENCHMARK_MAIN();
