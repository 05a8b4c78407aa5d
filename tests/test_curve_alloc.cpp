// ptsPerMM runs on the event tap and contact threads once per movement: it
// must not allocate. Every operator new of this binary is counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "helper/curve.h"

namespace {
std::atomic<long> allocations{0};

void* counted(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) {
  return counted(size);
}
void* operator new[](std::size_t size) {
  return counted(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}

namespace quillon {
namespace {

TEST(CurveAllocation, PtsPerMMAllocatesNothing) {
  DeviceConfig formula;
  formula.mode = "custom";
  formula.shape = 1.7;
  formula.threshold = 12;
  DeviceConfig windows;
  windows.mode = "windows";
  windows.winSpeed = 1;  // the 20-point trackpad curve
  const Curve curves[] = {*makeCurve(formula, Device::trackpad, std::nullopt),
                          *makeCurve(windows, Device::trackpad, std::nullopt)};
  ASSERT_TRUE(curves[0].table.empty());
  ASSERT_EQ(curves[1].table.size(), 20u);

  const DisplayInfo display{5.2, 1512, {}};
  for (const Curve& c : curves) {
    const long before = allocations.load();
    double sum = 0;
    for (int i = 0; i < 10000; ++i) sum += c.ptsPerMM(i * 0.1, display);
    EXPECT_EQ(allocations.load(), before);
    EXPECT_GT(sum, 0);
  }
  // The counter itself works.
  const long before = allocations.load();
  auto* probe = new int(3);
  EXPECT_EQ(allocations.load(), before + 1);
  delete probe;
}

}  // namespace
}  // namespace quillon
