#include <cmath>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

#include "common/config.h"
#include "common/utf8.h"
#include "gtest/gtest.h"

namespace quillon {
namespace {

using nlohmann::json;

json validFile() {
  return json::parse(R"({
    "trackpad": {"mode": "custom", "speed": 12.5, "accel": 0.7, "winSpeed": 6, "scale": 1.2,
                 "natural": true},
    "mouse": {"mode": "windows", "speed": 30, "accel": 0.8, "winSpeed": 10, "scale": 1,
              "natural": false, "dpi": 800}
  })");
}

struct DecodeCase {
  const char* name;
  std::function<void(json&)> edit;
  // Empty: decoding succeeds. Otherwise words the message must contain.
  std::vector<std::string> errorMentions;
};

class DecodeTable : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTable, AcceptsOrRejectsTheWholeFile) {
  const DecodeCase& c = GetParam();
  json file = validFile();
  c.edit(file);
  if (c.errorMentions.empty()) {
    EXPECT_NO_THROW(decodeConfig(file.dump()));
    return;
  }
  try {
    decodeConfig(file.dump());
    ADD_FAILURE() << "decoded although it should fail";
  } catch (const ConfigError& e) {
    for (const std::string& word : c.errorMentions)
      EXPECT_NE(e.message.find(word), std::string::npos) << e.message;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Config, DecodeTable,
    testing::Values(
        DecodeCase{"valid", [](json&) {}, {}},
        DecodeCase{"nullOptional", [](json& f) { f["mouse"]["dpi"] = nullptr; }, {}},
        DecodeCase{"extraKeys",
                   [](json& f) {
                     f["comment"] = "top";
                     f["trackpad"]["comment"] = 3;
                   },
                   {}},
        DecodeCase{"missingNatural",
                   [](json& f) { f["trackpad"].erase("natural"); },
                   {"\"natural\"", "\"trackpad\"", "missing"}},
        DecodeCase{"missingMouse", [](json& f) { f.erase("mouse"); }, {"\"mouse\"", "missing"}},
        DecodeCase{"nullRequired",
                   [](json& f) { f["mouse"]["speed"] = nullptr; },
                   {"\"speed\"", "\"mouse\"", "missing"}},
        DecodeCase{"naturalAsNumber",
                   [](json& f) { f["trackpad"]["natural"] = 1; },
                   {"\"natural\"", "boolean", "number"}},
        DecodeCase{"speedAsString",
                   [](json& f) { f["mouse"]["speed"] = "30"; },
                   {"\"speed\"", "number", "string"}},
        DecodeCase{"speedAsBoolean",
                   [](json& f) { f["mouse"]["speed"] = true; },
                   {"\"speed\"", "number", "boolean"}},
        DecodeCase{"modeAsNumber", [](json& f) { f["mouse"]["mode"] = 3; }, {"\"mode\"", "string"}},
        DecodeCase{"optionalOfWrongType",
                   [](json& f) { f["mouse"]["dpi"] = "1600"; },
                   {"\"dpi\"", "number"}},
        DecodeCase{"optionalBooleanAsNumber",
                   [](json& f) { f["trackpad"]["accelOff"] = 0; },
                   {"\"accelOff\"", "boolean"}},
        DecodeCase{"matchAsArray",
                   [](json& f) { f["trackpad"]["match"] = json::array(); },
                   {"\"match\"", "string", "array"}},
        DecodeCase{"deviceNotObject",
                   [](json& f) { f["trackpad"] = json::array(); },
                   {"\"trackpad\"", "object"}},
        DecodeCase{"deviceNull", [](json& f) { f["trackpad"] = nullptr; }, {"\"trackpad\""}}),
    [](const testing::TestParamInfo<DecodeCase>& row) { return std::string(row.param.name); });

TEST(Config, RejectsTextThatIsNotOneObjectInValidUTF8) {
  for (const char* text :
       {"", "   ", "[]", "null", "5", "\"config\"", "{", "{} {}", "{\"trackpad\": \"\xff\"}",
        "\xef\xbb\xbf[]", "{\"trackpad\": \xC3\x97}", "{\"trackpad\": \xF0\x9F\x96\xB1}"}) {
    try {
      decodeConfig(text);
      ADD_FAILURE() << "decoded: " << text;
    } catch (const ConfigError& e) {
      // The message goes into a log line: a character it cuts is replaced.
      EXPECT_TRUE(isUTF8(e.message)) << text << " -> " << e.message;
    }
  }
}

TEST(Config, RejectsNumbersThatCannotBeWrittenBack) {
  json file = validFile();
  std::string text = file.dump();
  text.replace(text.find("12.5"), 4, "1e999");
  EXPECT_THROW(decodeConfig(text), ConfigError);
}

TEST(Config, ReadsValuesAndLeavesUnsetOptionalsAbsent) {
  json file = validFile();
  file["trackpad"]["speed"] = 10;  // an integer literal
  file["trackpad"]["shape"] = 2;
  Config c = decodeConfig(file.dump());
  EXPECT_EQ(c.trackpad.mode, "custom");
  EXPECT_EQ(c.trackpad.speed, 10.0);
  EXPECT_EQ(c.trackpad.winSpeed, 6.0);
  EXPECT_EQ(c.trackpad.shape, 2.0);
  EXPECT_FALSE(c.trackpad.dpi);
  EXPECT_FALSE(c.trackpad.accelOff);
  EXPECT_FALSE(c.mouse.natural);
  EXPECT_EQ(c.mouse.dpi, 800.0);
  EXPECT_FALSE(c.mouse.maxBoost);
}

TEST(Config, ScrollPrefsFallBackToSpeedOne) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Row {
    std::optional<double> scrollSpeed;
    double expected;
  };
  for (Row r : {Row{std::nullopt, 1}, Row{0.0, 1}, Row{-2.0, 1}, Row{nan, 1}, Row{2.5, 2.5}}) {
    DeviceConfig c;
    c.scrollSpeed = r.scrollSpeed;
    EXPECT_EQ(scrollPrefs(c).speed, r.expected);
  }
  DeviceConfig c = DeviceConfig::mouseDefault();
  EXPECT_EQ(scrollPrefs(c), (ScrollPrefs{false, false, 1}));
  c.scrollAccelOff = true;
  EXPECT_TRUE(scrollPrefs(c).accelOff);
}

TEST(Config, MouseCountsPerMillimetre) {
  struct Row {
    std::optional<double> dpi;
    double expected;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (Row r : {Row{std::nullopt, 1600 / 25.4}, Row{20.0, 50 / 25.4}, Row{50.0, 50 / 25.4},
                Row{800.0, 800 / 25.4}, Row{nan, 1600 / 25.4}}) {
    DeviceConfig c;
    c.dpi = r.dpi;
    EXPECT_DOUBLE_EQ(mouseCPMM(c), r.expected);
  }
  EXPECT_DOUBLE_EQ(mouseCPMM(DeviceConfig{}), 62.99212598425197);
}

TEST(Config, RoundTripKeepsAbsentFieldsAbsent) {
  Config c = decodeConfig(validFile().dump());
  c.trackpad.scrollSpeed = 0.1;  // not exactly representable: must survive as written
  std::string text = encodeConfig(c);
  EXPECT_EQ(text.find("null"), std::string::npos) << text;
  EXPECT_EQ(text.find("maxBoost"), std::string::npos) << text;
  EXPECT_EQ(decodeConfig(text), c);
}

// The defaults, pretty-printed with every object's keys sorted and the
// absent optional fields left out.
TEST(Config, EncodesDefaultsSortedAndPretty) {
  Config c;
  c.trackpad.winDpi = 800;
  c.trackpad.accelOff = false;
  c.trackpad.threshold = 20;
  EXPECT_EQ(encodeConfig(c),
            "{\n"
            "  \"mouse\": {\n"
            "    \"accel\": 0.8,\n"
            "    \"dpi\": 1600.0,\n"
            "    \"mode\": \"mac\",\n"
            "    \"natural\": false,\n"
            "    \"scale\": 1.0,\n"
            "    \"speed\": 30.0,\n"
            "    \"winSpeed\": 10.0\n"
            "  },\n"
            "  \"trackpad\": {\n"
            "    \"accel\": 0.6,\n"
            "    \"accelOff\": false,\n"
            "    \"mode\": \"mac\",\n"
            "    \"natural\": true,\n"
            "    \"scale\": 1.0,\n"
            "    \"speed\": 10.0,\n"
            "    \"threshold\": 20.0,\n"
            "    \"winDpi\": 800.0,\n"
            "    \"winSpeed\": 5.0\n"
            "  }\n"
            "}");
}

TEST(Device, KeysAreExactAndCaseSensitive) {
  EXPECT_EQ(deviceFromKey("trackpad"), Device::trackpad);
  EXPECT_EQ(deviceFromKey("mouse"), Device::mouse);
  for (const char* other : {"Mouse", "", "trackpad ", "pen"}) EXPECT_FALSE(deviceFromKey(other));
}

}  // namespace
}  // namespace quillon
