// The graph's three curves: the helper request and its cache, and the
// curves the app computes itself.
#include <cmath>

#include "app/core/mac_curves.h"
#include "app/core/preview.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

using Preview = CoreTest;

CurvePoints line(double y) {
  return {{0, y}, {400, y}};
}

TEST(PreviewRequest, ArgumentsAndKey) {
  struct Case {
    Device device;
    std::function<void(DeviceConfig&)> edit;
    const char* key;
  };
  const Case cases[] = {
      {Device::trackpad, [](DeviceConfig&) {},
       "preview --device trackpad --mode windows --win-speed 5.0 --scale 1.0"},
      {Device::mouse, [](DeviceConfig& c) { c.dpi.reset(); },
       "preview --device mouse --mode windows --win-speed 10.0 --scale 1.0 --dpi 1600.0"},
      {Device::mouse, [](DeviceConfig& c) { c.winDpi = 800; },
       "preview --device mouse --mode windows --win-speed 10.0 --scale 1.0 --dpi 1600.0 "
       "--win-dpi 800.0"},
      {Device::trackpad,
       [](DeviceConfig& c) {
         c.accelOff = true;
         c.match = "share";
         c.winSpeed = 7.25;
         c.scale = 0.1;
       },
       "preview --device trackpad --mode windows --win-speed 7.25 --scale 0.1 --accel-off 1 "
       "--match share"},
      {Device::trackpad, [](DeviceConfig& c) { c.accelOff = false; },
       "preview --device trackpad --mode windows --win-speed 5.0 --scale 1.0"},
  };
  for (const Case& c : cases) {
    DeviceConfig config =
        c.device == Device::mouse ? DeviceConfig::mouseDefault() : DeviceConfig::trackpadDefault();
    c.edit(config);
    EXPECT_EQ(previewKey(windowsPreviewArgs(c.device, config)), c.key);
  }
  EXPECT_EQ(shortestDecimal(1e21), "1e+21");
  EXPECT_EQ(shortestDecimal(-0.5), "-0.5");
}

TEST(PreviewRequest, HelperOutputParsing) {
  EXPECT_EQ(parsePreviewPoints(R"({"summary":"x","points":[[0,1],[2,3.5]]})"),
            (CurvePoints{{0, 1}, {2, 3.5}}));
  EXPECT_EQ(parsePreviewPoints(R"({"points":[[0,1],[1],[1,2,3],[4,5]]})"),
            (CurvePoints{{0, 1}, {4, 5}}))
      << "rows of other lengths are skipped";
  for (const char* bad : {"", "garbage", "[]", R"({"points":3})", R"({"points":[[0,"1"]]})",
                          R"({"points":[5]})", R"({"summary":"only"})"}) {
    EXPECT_FALSE(parsePreviewPoints(bad)) << bad;
  }
}

TEST_F(Preview, CachedKeysStartNoHelperAndLateResultsAreCachedButNotShown) {
  auto model = makeModel();
  ASSERT_EQ(preview.requests.size(), 1u) << "refresh asks for the first curve";
  const auto first = preview.requests[0];
  EXPECT_FALSE(model->curves().contains(Mode::windows));

  model->binding (&DeviceConfig::winSpeed)(6);
  ASSERT_EQ(preview.requests.size(), 2u);
  first.done(line(1));  // the answer for winSpeed 5 arrives late
  EXPECT_FALSE(model->curves().contains(Mode::windows)) << "an older setting is not shown";

  model->binding (&DeviceConfig::winSpeed)(5);
  EXPECT_EQ(preview.requests.size(), 2u) << "cached: no child process";
  EXPECT_EQ(model->curves().at(Mode::windows), line(1));

  preview.requests[1].done(std::nullopt);  // winSpeed 6 failed
  EXPECT_EQ(model->curves().at(Mode::windows), line(1));
  model->binding (&DeviceConfig::winSpeed)(6);
  ASSERT_EQ(preview.requests.size(), 3u) << "a failure caches nothing, so it is asked again";
  EXPECT_EQ(model->curves().at(Mode::windows), line(1)) << "the old curve stays meanwhile";
  preview.requests[2].done(line(2));
  EXPECT_EQ(model->curves().at(Mode::windows), line(2));
}

TEST_F(Preview, ADeviceSwitchDropsTheOtherDevicesCurve) {
  auto model = makeModel();
  preview.requests[0].done(line(1));
  model->setDevice(Device::mouse);
  model->updatePreview();
  EXPECT_FALSE(model->curves().contains(Mode::windows));
  EXPECT_EQ(model->previewDevice(), Device::mouse);
  model->setDevice(Device::trackpad);
  model->updatePreview();
  EXPECT_EQ(model->curves().at(Mode::windows), line(1)) << "cached for the trackpad";
}

TEST_F(Preview, CurvesFollowEveryInput) {
  auto model = makeModel();
  model->setDevice(Device::mouse);
  const std::vector<std::pair<Mode, std::function<void(Model&)>>> edits = {
      {Mode::custom, [](Model& m) { m.binding (&DeviceConfig::speed)(12); }},
      {Mode::custom, [](Model& m) { m.binding (&DeviceConfig::accel)(2); }},
      {Mode::custom, [](Model& m) { m.thresholdBinding()(100); }},
      {Mode::custom, [](Model& m) { m.shapeBinding()(3); }},
      {Mode::custom, [](Model& m) { m.maxBoostBinding()(1.5); }},
      {Mode::custom, [](Model& m) { m.accelBinding()(false); }},
      {Mode::mac, [](Model& m) { m.macSpeedBinding()(2); }},
      {Mode::mac, [](Model& m) { m.mouseAccelBinding()(true); }},
      {Mode::mac, [](Model& m) { m.dpiBinding()(800); }},
      {Mode::mac, [](Model& m) { m.setDevice(Device::trackpad); }},
  };
  for (const auto& [mode, edit] : edits) {
    const CurvePoints before = model->curves().at(mode);
    edit(*model);
    model->updatePreview();
    EXPECT_NE(model->curves().at(mode), before) << modeKey(mode);
  }
}

TEST_F(Preview, AResultAfterTheModelIsGoneIsDropped) {
  auto model = makeModel();
  auto done = preview.requests[0].done;
  model.reset();
  done(line(1));  // must not touch the destroyed model
}

TEST(CustomCurve, CapAndAccelerationOff) {
  DeviceConfig c = DeviceConfig::trackpadDefault();  // speed 10, accel 0.6
  c.accel = 5;
  EXPECT_DOUBLE_EQ(customCurve(c, Device::trackpad).last().y(), 30) << "no maxBoost: cap 3";
  c.maxBoost = 0.5;
  for (const QPointF& p : customCurve(c, Device::trackpad)) ASSERT_DOUBLE_EQ(p.y(), 10);
  c.maxBoost = 100;
  c.threshold = 50;
  c.shape = 2;
  const CurvePoints curve = customCurve(c, Device::trackpad);
  ASSERT_EQ(curve.size(), 401);
  EXPECT_DOUBLE_EQ(curve[50].y(), 10) << "no boost up to the threshold";
  EXPECT_DOUBLE_EQ(curve[150].y(), 10 * (1 + 5 * 1.0)) << "(100/100)^2";
  c.accelOff = true;
  for (const QPointF& p : customCurve(c, Device::trackpad)) ASSERT_DOUBLE_EQ(p.y(), 10);
  EXPECT_DOUBLE_EQ(customCurve(c, Device::mouse).last().x(), 800);
}

TEST(MacCurve, SpeedsOutsideAndBetweenTheTable) {
  const auto& t = macTrackpadCurves();
  const std::vector<double> grid = {0, 30, 100, 500};
  const auto at = [&](size_t entry) { return macCurve({t[entry]}, t[entry].speed, grid); };
  const auto scaled = [](CurvePoints c, double f) {
    for (QPointF& p : c) p.setY(p.y() * f);
    return c;
  };
  const auto near = [](const CurvePoints& a, const CurvePoints& b) {
    ASSERT_EQ(a.size(), b.size());
    for (qsizetype i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i].y(), b[i].y(), 1e-9) << i;
  };
  near(macTrackpadCurve(0.25, grid), scaled(at(0), 0.5));
  near(macTrackpadCurve(0.01, grid), scaled(at(0), 0.1));  // 0.05 at the least
  near(macTrackpadCurve(6, grid), scaled(at(4), 2));
  CurvePoints blend = at(1);
  for (qsizetype i = 0; i < blend.size(); ++i) blend[i].setY((at(1)[i].y() + at(2)[i].y()) / 2);
  near(macTrackpadCurve(0.84375, grid), blend);
  EXPECT_TRUE(macTrackpadCurve(1, {}).isEmpty());
}

TEST(MacCurve, MouseThroughItsDpi) {
  DeviceConfig mouse = DeviceConfig::mouseDefault();
  for (const QPointF& p : macCurveFor(Device::mouse, mouse, 0.6875, false)) {
    ASSERT_NEAR(p.y(), 43.307, 1e-3);
  }
  mouse.dpi = 20;
  EXPECT_NEAR(macCurveFor(Device::mouse, mouse, 1, false)[0].y(), 50 / 25.4, 1e-12);
  // 354 counts/s at 1600 DPI is 5.62 mm/s; 0.2268 points per count is
  // 14.29 points per mm.
  const double cpmm = 1600 / 25.4;
  const std::vector<double> grid = {354 / cpmm, 13164 / cpmm};
  const CurvePoints c = macMouseCurve(0.6875, 1600, grid);
  EXPECT_NEAR(c[0].y(), 0.2268 * cpmm, 1e-9);
  EXPECT_NEAR(c[1].y(), 0.6539 * cpmm, 1e-9);
}

TEST(CurveColor, EachMode) {
  EXPECT_EQ(curveColor(Mode::mac), NamedColor::gray);
  EXPECT_EQ(curveColor(Mode::windows), NamedColor::cyan);
  EXPECT_EQ(curveColor(Mode::custom), NamedColor::orange);
}

}  // namespace
}  // namespace quillon::app::test
