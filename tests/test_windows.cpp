// Windows measurement files: decoding, picking and blending the measured
// curves, and the table curves built from them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "common/utf8.h"
#include "helper/builtin_curves.h"
#include "helper/errors.h"
#include "helper/windows_curve.h"
#include "helper/windows_file.h"

namespace quillon {
namespace {

constexpr double kMouseCountsPerMM = 1600 / 25.4;
const DisplayInfo kDisplay{5, 1470, {}};

DeviceConfig windowsConfig(double winSpeed) {
  DeviceConfig c;
  c.mode = "windows";
  c.winSpeed = winSpeed;
  return c;
}

Curve build(const DeviceConfig& c, Device d) {
  return *makeCurve(c, d, std::nullopt);
}

std::string decodeError(const std::string& text) {
  try {
    decodeWindowsFile(text);
  } catch (const CurveError& e) {
    return e.what();
  }
  return "";
}

TEST(WindowsFile, BuiltInFilesDecode) {
  const WindowsCurveFile trackpad = decodeWindowsFile(builtinTrackpadCurve);
  ASSERT_EQ(trackpad.curves.size(), 3u);
  EXPECT_EQ(trackpad.curves[0].points->size(), 20u);
  EXPECT_EQ(trackpad.curves[2].setting(), 10);
  EXPECT_EQ(*trackpad.userSetting->value, 5);
  EXPECT_DOUBLE_EQ(*trackpad.pixelsPerMM(), 3000.0 / 293);

  const WindowsCurveFile mouse = decodeWindowsFile(builtinMouseCurve);
  ASSERT_EQ(mouse.curves.size(), 3u);
  EXPECT_EQ(*mouse.mouse->dpi, 1600);
  EXPECT_EQ(*mouse.screen->widthMM, 531);
  EXPECT_EQ(mouse.curves[1].points->front(), std::make_pair(97.0, 0.15407));
}

TEST(WindowsFile, OptionalForms) {
  struct Case {
    const char* userSetting;
    std::optional<double> value;  // nullopt: absent, or present with no number
  };
  const Case cases[] = {
      {"7", 7},
      {R"({"cursor_speed": 7})", 7},
      {R"({"pointer_speed": 3, "cursor_speed": 7})", 3},
      {R"({"pointer_speed": "x", "cursor_speed": 7})", 7},
      {R"({"pointer_speed": null, "cursor_speed": 2.5})", 2.5},
      {R"({"other": 1})", std::nullopt},
      {"null", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto f = decodeWindowsFile(std::string(R"({"user_setting": )") + c.userSetting +
                                     R"(, "curves": []})");
    const std::optional<double> got = f.userSetting ? f.userSetting->value : std::nullopt;
    EXPECT_EQ(got, c.value) << c.userSetting;
  }

  const auto f = decodeWindowsFile(R"({"screen": null, "mouse": {"dpi": null}, "extra": [1, {}],
      "curves": [{"points": [[1], [2, 3, 4]]}]})");
  EXPECT_FALSE(f.screen);
  EXPECT_FALSE(f.mouse->dpi);
  EXPECT_EQ(f.curves[0].setting(), 0);
  EXPECT_FALSE(f.curves[0].pointsCounts);
}

TEST(WindowsFile, RowsShortAreSkippedLongAreCut) {
  const auto f = decodeWindowsFile(R"({"curves": [{"points": [[], [1], [2, 3, 4], [5, 6]]}]})");
  EXPECT_EQ(*f.curves[0].points, (CurvePoints{{2, 3}, {5, 6}}));
}

TEST(WindowsFile, MalformedFilesFailWithADescription) {
  struct Case {
    const char* text;
    const char* message;  // part of the description
  };
  const Case cases[] = {
      {"", "parse error"},
      {"{", "parse error"},
      {"{\"curves\": []} x", "parse error"},
      {"\xff\xfe{}", "parse error"},
      {"{\"curves\": \xC3\x97}", "last read: '\"curves\": \xEF\xBF\xBD'"},
      {"[]", "expected object"},
      {"{}", "no \"curves\""},
      {R"({"curves": null})", "no \"curves\""},
      {R"({"curves": {}})", "at /curves: expected array"},
      {R"({"curves": [null]})", "at /curves/0: expected object"},
      {R"({"curves": [{"points": [[1, "2"]]}]})", "at /curves/0/points/0/1: expected number"},
      {R"({"curves": [{"points": [[1, 2, null]]}]})", "at /curves/0/points/0/2"},
      {R"({"curves": [{"points": [5]}]})", "at /curves/0/points/0: expected array"},
      {R"({"curves": [{"points_counts": "x"}]})", "at /curves/0/points_counts"},
      {R"({"curves": [{"cursor_speed_setting": "5"}]})", "cursor_speed_setting"},
      {R"({"curves": [{"enhance_pointer_precision": 1}]})", "expected boolean"},
      {R"({"user_setting": "5", "curves": []})", "at /user_setting"},
      {R"({"user_setting": [5], "curves": []})", "at /user_setting"},
      {R"({"screen": 5, "curves": []})", "at /screen"},
      {R"({"screen": {"width_mm": "531"}, "curves": []})", "at /screen/width_mm"},
      {R"({"mouse": {"dpi": true}, "curves": []})", "at /mouse/dpi"},
      {R"({"curves": [{"points": [[1e999, 1]]}]})", "overflow"},
  };
  for (const Case& c : cases) {
    const std::string message = decodeError(c.text);
    EXPECT_NE(message.find(c.message), std::string::npos) << c.text << " -> " << message;
    EXPECT_TRUE(isUTF8(message)) << c.text << " -> " << message;
  }
}

TEST(WindowsFile, DeepNestingIsRefusedNotRecursed) {
  const std::string deep = R"({"x": )" + std::string(200000, '[') + "]}";
  EXPECT_NE(decodeError(deep).find("nested too deeply"), std::string::npos);
  // Real files are shallow; a modest depth in an ignored key is fine.
  EXPECT_EQ(decodeError(R"({"x": [[[[[[[[1]]]]]]]], "curves": []})"), "");
}

TEST(WindowsCurve, PicksMeasuredSettings) {
  const WindowsCurveFile f = decodeWindowsFile(builtinTrackpadCurve);
  struct Case {
    double requested, used;
    size_t curve;  // index in the file
  };
  const Case cases[] = {
      {5, 5, 1},
      {10, 10, 2},
      {1, 1, 0},
      {0, 5, 1},
      {-3, 5, 1},
      {0.5, 0.5, 0},
      {15, 15, 2},
      {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 2}};
  for (const Case& c : cases) {
    const auto pick = windowsCurve(f, c.requested);
    ASSERT_TRUE(pick);
    EXPECT_EQ(pick->setting, c.used);
    EXPECT_EQ(pick->points, *f.curves[c.curve].points) << c.requested;
  }
  // NaN names no setting: the user setting stands.
  EXPECT_EQ(windowsCurve(f, std::numeric_limits<double>::quiet_NaN())->setting, 5);
}

TEST(WindowsCurve, BlendsBetweenNeighbours) {
  const WindowsCurveFile f = decodeWindowsFile(builtinTrackpadCurve);
  const auto pick = windowsCurve(f, 7.5);
  ASSERT_TRUE(pick);
  EXPECT_NEAR(lookup(pick->points, 5), 2.4995, 1e-12);
  // lookup(setting 10, 15) = 3.882 + (15 - 14) * (4.05 - 3.882) / 3 = 3.938.
  EXPECT_NEAR(lookup(pick->points, 15), (2.3 + 3.938) / 2, 1e-12);
  // Sampled at the union of both curves' speeds, each once.
  EXPECT_EQ(pick->points.size(), 14u + 13u - 4u);  // 5, 30, 50 and 69 are shared
  for (size_t i = 1; i < pick->points.size(); ++i) {
    EXPECT_LT(pick->points[i - 1].first, pick->points[i].first);
  }
}

TEST(WindowsCurve, GainRisesWithSettingAndSpeed) {
  // The measured curves are monotone and ordered, so every blend is too.
  for (Device d : {Device::trackpad, Device::mouse}) {
    double lastSetting[161] = {};
    for (double setting = 0.5; setting <= 21; setting += 0.25) {
      const Curve c = build(windowsConfig(setting), d);
      double last = 0;
      for (int i = 0; i <= 160; ++i) {
        const double v = 5.0 * i;
        const double g = c.ptsPerMM(v, kDisplay);
        ASSERT_GE(g, last - 1e-12) << "setting " << setting << " v " << v;
        ASSERT_GE(g, lastSetting[i] - 1e-12) << "setting " << setting << " v " << v;
        last = lastSetting[i] = g;
      }
    }
  }
}

TEST(WindowsCurve, DuplicateSettingsAndDroppedCurves) {
  const WindowsCurveFile f = decodeWindowsFile(R"({"curves": [
      {"pointer_speed_setting": 4, "points": [[1, 1]]},
      {"pointer_speed_setting": 4, "points": [[1, 2]]},
      {"pointer_speed_setting": 3, "points": [[1, 0.5]]},
      {"pointer_speed_setting": 2, "enhance_pointer_precision": false, "points": [[1, 9]]},
      {"pointer_speed_setting": 8, "points": []},
      {"pointer_speed_setting": 6, "points": [[3, 5], [1, 3], [3, 6]]}]})");
  EXPECT_EQ(windowsCurve(f, 4)->points, (CurvePoints{{1, 2}}));  // the later of the two
  EXPECT_EQ(windowsCurve(f, 1)->points, (CurvePoints{{1, 0.5}}));
  EXPECT_EQ(windowsCurve(f, 5)->points, (CurvePoints{{1, 2.5}, {3, 3.5}}));  // 4b and 6 blended
  // Sorted by speed, equal speeds in file order; setting 8 has no points.
  EXPECT_EQ(windowsCurve(f, 9)->points, (CurvePoints{{1, 3}, {3, 5}, {3, 6}}));
  EXPECT_EQ(windowsCurve(f, 0)->setting, 3);  // no user setting: the lowest kept

  // Duplicates at the lowest setting: at or below it the earlier one stands.
  const WindowsCurveFile low = decodeWindowsFile(R"({"curves": [
      {"pointer_speed_setting": 1, "points": [[1, 1]]},
      {"pointer_speed_setting": 1, "points": [[1, 2]]},
      {"pointer_speed_setting": 9, "points": [[1, 3]]}]})");
  EXPECT_EQ(windowsCurve(low, 0.5)->points, (CurvePoints{{1, 1}}));
  EXPECT_EQ(windowsCurve(low, 1)->points, (CurvePoints{{1, 1}}));
  EXPECT_EQ(windowsCurve(low, 5)->points, (CurvePoints{{1, 2.5}}));  // blended from the later
}

TEST(WindowsCurve, CountsRowsNeedAScreen) {
  const char* rows = R"("curves": [{"pointer_speed_setting": 1, "points": [[1, 7]],
                                    "points_counts": [[1, 20]]}])";
  const auto withScreen = decodeWindowsFile(std::string(R"({"screen": {"width_px": 2000,
      "width_mm": 500}, )") + rows + "}");
  EXPECT_EQ(windowsCurve(withScreen, 1)->points, (CurvePoints{{1, 5}}));
  const auto without = decodeWindowsFile(std::string("{") + rows + "}");
  EXPECT_EQ(windowsCurve(without, 1)->points, (CurvePoints{{1, 7}}));
}

TEST(WindowsTableCurve, TrackpadSummaryAndPoints) {
  const Curve c = build(windowsConfig(5), Device::trackpad);
  EXPECT_EQ(c.summary, "trackpad: Windows curve, speed 5, fine-tune 1.00, match distance");
  EXPECT_EQ(c.table, *decodeWindowsFile(builtinTrackpadCurve).curves[1].points);
  EXPECT_EQ(c.winScreenMM, 293);

  DeviceConfig share = windowsConfig(15);
  share.scale = 1.25;
  share.match = "share";
  share.accelOff = true;
  const Curve s = build(share, Device::trackpad);
  EXPECT_EQ(s.summary,
            "trackpad: Windows curve, speed 15, fine-tune 1.25, match share of screen, "
            "acceleration off");
  EXPECT_TRUE(s.share);
  EXPECT_DOUBLE_EQ(s.ptsPerMM(300, kDisplay), 3.325 * (1470.0 / 293) * 1.25);
}

TEST(WindowsTableCurve, MouseConvertsCountsToMillimetres) {
  const Curve c = build(windowsConfig(10), Device::mouse);
  EXPECT_EQ(c.summary,
            "mouse: Windows curve, speed 10, Windows mouse at 1600 DPI, match distance, "
            "mouse DPI 1600");
  EXPECT_NEAR(c.table.front().first, 1.5399, 1e-4);
  EXPECT_NEAR(c.table.front().second, 9.7051, 1e-4);
  EXPECT_EQ(c.scale, 1);

  DeviceConfig scaled = windowsConfig(10);
  scaled.scale = 3;  // not used for the mouse
  scaled.match = "share";
  const Curve s = build(scaled, Device::mouse);
  EXPECT_EQ(s.scale, 1);
  EXPECT_EQ(s.winScreenMM, 531);

  struct Case {
    std::optional<double> dpi, winDpi;
    const char* detail;
    double countsPerMM;
  };
  const Case cases[] = {
      {800, std::nullopt, "at 800 DPI", 800 / 25.4},
      {800, 1200, "at 1200 DPI", 1200 / 25.4},
      {std::nullopt, 30, "at 50 DPI", 50 / 25.4},
      {-5, std::nullopt, "at 50 DPI", 50 / 25.4},
  };
  for (const Case& k : cases) {
    DeviceConfig config = windowsConfig(10);
    config.dpi = k.dpi;
    config.winDpi = k.winDpi;
    const Curve m = build(config, Device::mouse);
    EXPECT_NE(m.summary.find(k.detail), std::string::npos) << m.summary;
    EXPECT_DOUBLE_EQ(m.table.front().first, 97 / k.countsPerMM);
  }
}

TEST(WindowsTableCurve, MouseAccelOffIsWindowsFlatMultiplier) {
  DeviceConfig config = windowsConfig(10);
  config.accelOff = true;
  const Curve c = build(config, Device::mouse);
  ASSERT_EQ(c.table.size(), 1u);
  EXPECT_EQ(c.table[0].first, 0);
  EXPECT_DOUBLE_EQ(c.table[0].second, kMouseCountsPerMM / (1920.0 / 531));
  EXPECT_NEAR(c.table[0].second, 17.42, 0.005);
  EXPECT_EQ(c.summary,
            "mouse: Windows curve, speed 10, Windows mouse at 1600 DPI, like Enhance pointer "
            "precision off, match distance, acceleration off, mouse DPI 1600");

  // Half settings round away from zero; out-of-range settings are clamped.
  struct Case {
    double setting, multiplier;
  };
  const Case cases[] = {{7.5, 0.75}, {7.49, 0.625}, {0.5, 0.03125}, {20.4, 3.5}, {300, 3.5}};
  for (const Case& k : cases) {
    config.winSpeed = k.setting;
    const double gain = build(config, Device::mouse).table[0].second;
    EXPECT_DOUBLE_EQ(gain, kMouseCountsPerMM * k.multiplier / (1920.0 / 531)) << k.setting;
  }
}

TEST(WindowsTableCurve, NoAccelMultiplierNeverLeavesTheTable) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double setting, multiplier;
  };
  const Case cases[] = {{nan, 0.03125},    {inf, 3.5},   {-inf, 0.03125}, {1e300, 3.5},
                        {-1e300, 0.03125}, {0, 0.03125}, {1, 0.03125},    {1.5, 0.0625},
                        {10, 1.0},         {19.5, 3.5},  {20, 3.5}};
  for (const Case& k : cases) EXPECT_EQ(noAccelMultiplierFor(k.setting), k.multiplier);
}

}  // namespace
}  // namespace quillon
