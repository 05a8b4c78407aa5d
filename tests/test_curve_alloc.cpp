// ptsPerMM runs on the event tap and contact threads once per movement: it
// must not allocate. Every operator new of this binary is counted.
#include <gtest/gtest.h>

#include "counting_allocator.h"
#include "helper/curve.h"

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
    const long before = test::allocationCount();
    double sum = 0;
    for (int i = 0; i < 10000; ++i) sum += c.ptsPerMM(i * 0.1, display);
    EXPECT_EQ(test::allocationCount(), before);
    EXPECT_GT(sum, 0);
  }
  // The counter itself works.
  const long before = test::allocationCount();
  auto* probe = new int(3);
  EXPECT_EQ(test::allocationCount(), before + 1);
  delete probe;
}

}  // namespace
}  // namespace quillon
