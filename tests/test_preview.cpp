// `preview`: option parsing, output line and every failure message, through
// the library and, when ctest names it in QUILLON_HELPER, the real binary.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "helper/builtin_curves.h"
#include "helper/preview.h"
#include "helper/usage.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

class NoDisplays : public platform::Displays {
 public:
  std::vector<platform::DisplayDescription> activeDisplays() override { return list; }
  void setReconfigurationCallback(ReconfigurationCallback) override {}
  std::vector<platform::DisplayDescription> list;
};

struct Output {
  int status = -1;
  std::string text;
};

Output previewLib(const std::vector<std::string>& options, NoDisplays displays = {}) {
  Screens screens(displays);
  std::FILE* out = std::tmpfile();
  Output o;
  o.status = runPreview(options, screens, out);
  std::rewind(out);
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;) o.text.append(buffer, n);
  std::fclose(out);
  return o;
}

std::string quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class Preview : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("quillon-preview-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sim");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string file(const std::string& name, const std::string& content) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
  }

  // The real helper in a simulated Mac with no displays, so that both
  // runners see the 5 pt/mm fallback.
  static const char* helper() { return std::getenv("QUILLON_HELPER"); }
  Output previewBinary(const std::vector<std::string>& options) {
    std::string command = "HOME=" + quoted(dir_.string()) +
                          " QUILLON_SIM_ROOT=" + quoted((dir_ / "sim").string()) + " " +
                          quoted(helper()) + " preview";
    for (const auto& o : options) command += " " + quoted(o);
    command += " </dev/null 2>/dev/null";
    Output o;
    std::FILE* p = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) o.text.append(buffer, n);
    const int raw = ::pclose(p);
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return o;
  }

  // Both runners must agree; the library result is returned.
  Output both(const std::vector<std::string>& options) {
    Output lib = previewLib(options);
    if (helper() != nullptr) {
      Output bin = previewBinary(options);
      EXPECT_EQ(bin.status, lib.status);
      EXPECT_EQ(bin.text, lib.text);
    }
    return lib;
  }

  fs::path dir_;
};

std::string summaryOf(const Output& o) {
  return nlohmann::json::parse(o.text).value("summary", std::string());
}

TEST_F(Preview, WindowsMouseFullLine) {
  // Worked by hand from the measured setting-10 rows in counts per second:
  // gain(v) = lookup(counts, v * 1600 / 25.4) * (1600 / 25.4) * 5 pt/mm.
  const Output o = both({"--device", "mouse", "--mode", "windows", "--win-speed", "10"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(
      o.text,
      R"({"summary":"mouse: Windows curve, speed 10, Windows mouse at 1600 DPI, match distance, )"
      R"(mouse DPI 1600","points":[[0.0,48.5260],[20.0,53.5054],[40.0,62.5270],[60.0,71.5995],)"
      R"([80.0,78.0749],[100.0,83.4637],[120.0,88.5957],[140.0,92.6842],[160.0,96.7727],)"
      R"([180.0,102.1760],[200.0,110.8968],[220.0,119.6176],[240.0,123.2913],[260.0,123.2913],)"
      R"([280.0,123.2913],[300.0,123.2913],[320.0,123.2913],[340.0,123.2913],[360.0,123.2913],)"
      R"([380.0,123.2913],[400.0,123.2913],[420.0,123.2913],[440.0,123.2913],[460.0,123.2913],)"
      R"([480.0,123.2913],[500.0,123.2913],[520.0,123.2913],[540.0,123.2913],[560.0,123.2913],)"
      R"([580.0,123.2913],[600.0,123.2913],[620.0,123.2913],[640.0,123.2913],[660.0,123.2913],)"
      R"([680.0,123.2913],[700.0,123.2913],[720.0,123.2913],[740.0,123.2913],[760.0,123.2913],)"
      R"([780.0,123.2913],[800.0,123.2913]]})"
      "\n");
}

TEST_F(Preview, SamplesAndDisplay) {
  for (const char* device : {"trackpad", "mouse"}) {
    const Output o = both({"--device", device, "--mode", "custom"});
    ASSERT_EQ(o.status, 0);
    const auto points = nlohmann::json::parse(o.text)["points"];
    ASSERT_EQ(points.size(), 41u);
    const double vmax = std::string(device) == "mouse" ? 800 : 400;
    for (size_t i = 0; i < points.size(); ++i) {
      EXPECT_EQ(points[i][0].get<double>(), vmax * static_cast<double>(i) / 40);
    }
  }
  // The built-in display is preferred; its pts/mm scales a table curve.
  NoDisplays displays;
  displays.list = {{{0, 0, 1920, 1080}, 480, 270, false}, {{1920, 0, 1800, 1125}, 300, 188, true}};
  const Output o =
      previewLib({"--mode", "windows", "--win-speed", "5", "--accel-off", "1"}, displays);
  EXPECT_NE(o.text.find("[400.0,10.0440]"), std::string::npos) << o.text;  // 1.674 * 6 pt/mm
}

TEST_F(Preview, OptionParsing) {
  const std::string custom10 =
      "trackpad: custom, 10 \u00d7 min(1 + 0.60\u00b7((v \u2212 0)/100)^1.00, 2.8)";
  struct Case {
    std::vector<std::string> options;
    std::string summary;
  };
  const std::vector<Case> cases = {
      {{"--mode", "custom"}, custom10},
      {{"--mode", "custom", "--speed", "abc"}, custom10},
      {{"--mode", "custom", "--speed", "nan"}, custom10},
      {{"--mode", "custom", "--speed", "inf"}, custom10},
      {{"--mode", "custom", "--speed", "-infinity"}, custom10},
      {{"--mode", "custom", "--speed", "1e999"}, custom10},
      {{"--mode", "custom", "--speed", "1e-999"}, custom10},
      {{"--mode", "custom", "--speed", ""}, custom10},
      {{"--mode", "custom", "--speed", " 12"}, custom10},
      {{"--mode", "custom", "--speed", "12 "}, custom10},
      {{"--mode", "custom", "--speed", "12,5"}, custom10},
      {{"--mode", "custom", "--speed", "0x10"}, custom10},
      {{"--mode", "custom", "--speed", "+-3"}, custom10},
      {{"--mode", "custom", "--shape", "abc", "--threshold", "x", "--max-boost", "?"}, custom10},
      {{"--mode", "custom", "--speed", "+12"},
       "trackpad: custom, 12 \u00d7 min(1 + 0.60\u00b7((v \u2212 0)/100)^1.00, 2.8)"},
      {{"--speed", "3", "--mode", "custom", "--accel", "1e-1", "--speed", "12.5e0"},
       "trackpad: custom, 12 \u00d7 min(1 + 0.10\u00b7((v \u2212 0)/100)^1.00, 1.3)"},
      {{"--mode", "custom", "--shape", "2", "--threshold", "5", "--max-boost", "2"},
       "trackpad: custom, 10 \u00d7 min(1 + 0.60\u00b7((v \u2212 5)/100)^2.00, 2.0)"},
      {{"--mode", "custom", "--accel-off", "true"}, custom10 + ", acceleration off"},
      {{"--mode", "custom", "--accel-off", "1"}, custom10 + ", acceleration off"},
      {{"--mode", "custom", "--accel-off", "yes"}, custom10},
      {{"--mode", "custom", "--accel-off", "1", "--accel-off", "0"}, custom10},
      {{"--mode", "custom", "--device", "Mouse"}, custom10},
      {{"--mode", "custom", "--device", "mouse", "--dpi", "800", "--device", "trackpad"}, custom10},
      {{"--device", "mouse", "--mode", "custom", "--dpi", "abc"},
       "mouse: custom, 10 \u00d7 min(1 + 0.60\u00b7((v \u2212 0)/100)^1.00, 2.8), mouse DPI "
       "1600"},
      {{"--device", "mouse", "--mode", "windows", "--win-dpi", "800", "--dpi", "400"},
       "mouse: Windows curve, speed 5, Windows mouse at 800 DPI, match distance, mouse DPI 400"},
      {{"--mode", "windows", "--win-speed", "nan", "--scale", "inf", "--match", "Share"},
       "trackpad: Windows curve, speed 5, fine-tune 1.00, match distance"},
      {{"--mode", "windows", "--win-speed", "0.5"},
       "trackpad: Windows curve, speed 0, fine-tune 1.00, match distance"},
      {{"--mode", "windows", "--win-speed", "15", "--match", "share", "--scale", "0.5"},
       "trackpad: Windows curve, speed 15, fine-tune 0.50, match share of screen"},
  };
  for (const Case& c : cases) {
    const Output o = both(c.options);
    EXPECT_EQ(o.status, 0) << o.text;
    EXPECT_EQ(summaryOf(o), c.summary) << o.text;
  }
}

TEST_F(Preview, NoCurve) {
  for (const std::vector<std::string>& options : std::vector<std::vector<std::string>>{
           {}, {"--mode", "Custom"}, {"--mode", ""}, {"--device", "mouse", "--mode", "mac"}}) {
    const Output o = both(options);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.text, "{\"points\":[]}\n");
  }
}

TEST_F(Preview, UsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"--device", "mouse", "--mode", "custom", "--speed"},
      {"--mode"},
      {"--mode", "custom", "--bogus", "1"},
      {"mouse"},
      {"--win-dpi", "800", "--Device", "mouse"},
      {"", ""},
  };
  for (const auto& options : cases) {
    const Output o = both(options);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.text, usageText());
  }
  const std::string usage = usageText();
  EXPECT_EQ(std::count(usage.begin(), usage.end(), '\n'), 8);
}

TEST_F(Preview, EveryCurveFailureMessage) {
  const std::string noScreen =
      file("no-screen.json", R"({"curves": [{"cursor_speed_setting": 5, "points": [[1, 2]]}]})");
  const std::string trackpad = file("trackpad.json", std::string(builtinTrackpadCurve));
  const std::string zero =
      file("zero.json", R"({"curves": [{"cursor_speed_setting": 0, "points": [[1, 2]]}]})");
  const std::string noKeys = file("no-keys.json", R"({"curves": [{"points": [[1, 2]]}]})");
  const std::string off = file("off.json", R"({"mouse": {"dpi": 800}, "curves": [
      {"pointer_speed_setting": 10, "enhance_pointer_precision": false, "points": [[1, 2]]}]})");
  const std::string noDpi = file("no-dpi.json", R"({"mouse": {"dpi": 0}, "curves": [
      {"pointer_speed_setting": 10, "points": [[1, 2]]}]})");
  const std::string broken = file("broken.json", R"({"curves": [)");
  const std::string noCurves = file("no-curves.json", R"({"screen": {"width_mm": 300}})");
  const std::string wrongType =
      file("wrong.json", R"({"curves": [{"cursor_speed_setting": 5, "points": [[1, "2"]]}]})");
  const std::string missing = (dir_ / "missing.json").string();
  const std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Larger than any measurement file can be, without writing a gigabyte.
  const std::string huge = file("huge.json", "");
  fs::resize_file(huge, 1ull << 30);

  struct Case {
    std::string device;
    std::vector<std::string> extra;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"trackpad", {"--windows", missing}, "Can't read " + missing},
      {"trackpad", {"--windows", dir_.string()}, "Can't read " + dir_.string()},
      {"trackpad", {"--windows", fifo}, "Can't read " + fifo},
      {"trackpad", {"--windows", "/dev/zero"}, "Can't read /dev/zero"},
      {"trackpad", {"--windows", huge}, "Can't read " + huge},
      {"trackpad",
       {"--windows", zero},
       "The Windows file doesn't say which speed setting each curve is for"},
      {"mouse",
       {"--windows", noKeys},
       "The Windows file doesn't say which speed setting each curve is for"},
      {"mouse", {"--windows", trackpad}, "This mouse file is in an unexpected format"},
      {"mouse", {"--windows", off}, "The Windows file has no curve points"},
      {"mouse", {"--windows", noDpi, "--dpi", "1600"}, "The Windows mouse measurement has no DPI"},
      {"trackpad",
       {"--windows", noScreen, "--match", "share"},
       "The Windows file has no screen size, needed for share-of-screen matching"},
      {"trackpad", {"--windows", noCurves}, "The Windows file has no \"curves\""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> options = {"--device", c.device, "--mode", "windows"};
    options.insert(options.end(), c.extra.begin(), c.extra.end());
    const Output o = both(options);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.text, c.message + "\n");
  }
  // Decoder errors: one line, status 1, whatever the decoder says.
  for (const std::string& path : {broken, wrongType}) {
    const Output o = both({"--mode", "windows", "--windows", path});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(std::count(o.text.begin(), o.text.end(), '\n'), 1) << o.text;
    EXPECT_EQ(o.text.find("{\""), std::string::npos) << o.text;
  }
  // The file from disk gives the same curve as the built-in text.
  EXPECT_EQ(both({"--mode", "windows", "--windows", trackpad}).text,
            both({"--mode", "windows"}).text);
}

}  // namespace
}  // namespace quillon
