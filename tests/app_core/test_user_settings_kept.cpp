// What the user set is never undone or lost: macOS settings changed outside
// Quillon, a settings file Quillon could not read, an edit made just before
// quitting.
#include <QCoreApplication>
#include <QTimer>
#include <fstream>

#include "config_text.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

namespace fs = std::filesystem;
using KeptSettings = CoreTest;

std::string readFile(const fs::path& p) {
  std::ifstream in(p);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(KeptSettings, ChangesMadeInSystemSettingsSurviveAHotKeyAndAnEdit) {
  // The trackpad in mode windows: its reset touches no macOS speed.
  std::string text = configText();
  text.replace(text.find("\"mac\""), 5, "\"windows\"");
  writeConfig(text);
  mac.prefs["com.apple.trackpad.scaling"] = 1.0;
  mac.prefs["com.apple.mouse.linear"] = false;
  auto model = makeModel();
  ASSERT_EQ(model->macSpeedOf(Device::trackpad), 1.0);

  // Changed in System Settings while the panel is closed.
  mac.prefs["com.apple.trackpad.scaling"] = 2.0;
  mac.prefs["com.apple.mouse.linear"] = true;

  model->resetCurrent();  // ⌃⌥⌘R
  model->binding (&DeviceConfig::winSpeed)(7);
  model->save();

  EXPECT_TRUE(callsStartingWith("pref com.apple.trackpad.scaling").empty());
  EXPECT_TRUE(callsStartingWith("pref com.apple.mouse.linear").empty());
  EXPECT_EQ(std::get<double>(mac.prefs["com.apple.trackpad.scaling"]), 2.0);
  EXPECT_EQ(std::get<bool>(mac.prefs["com.apple.mouse.linear"]), true);
  EXPECT_EQ(model->macSpeedOf(Device::trackpad), 2.0) << "taken as the new truth";
  EXPECT_FALSE(model->mouseMacAccel());
  EXPECT_EQ(callsStartingWith("hid.client HIDUseLinearScalingMouseAcceleration"),
            (Calls{"hid.client HIDUseLinearScalingMouseAcceleration 1",
                   "hid.client HIDUseLinearScalingMouseAcceleration 1"}))
      << "macOS's own switch pushed as it is";
}

TEST_F(KeptSettings, AnEditInQuillonIsStillWrittenOverAnOutsideChange) {
  writeConfig(configText());
  mac.prefs["com.apple.mouse.scaling"] = 1.0;
  mac.prefs["com.apple.mouse.linear"] = false;
  auto model = makeModel();
  mac.prefs["com.apple.mouse.scaling"] = 2.0;
  mac.prefs["com.apple.mouse.linear"] = true;
  model->setDevice(Device::mouse);
  model->macSpeedBinding()(1.5);
  model->mouseAccelBinding()(true);
  model->save();
  EXPECT_EQ(std::get<double>(mac.prefs["com.apple.mouse.scaling"]), 1.5);
  EXPECT_EQ(std::get<bool>(mac.prefs["com.apple.mouse.linear"]), false);
  // Written once: the next save has nothing of Quillon's to write.
  mac.calls.clear();
  model->save();
  EXPECT_TRUE(callsStartingWith("pref ").empty());
}

TEST_F(KeptSettings, AnUnreadableFileIsKeptAsideAndSaidUntilTheNextSave) {
  struct Case {
    const char* name;
    std::string file;
  };
  const Case cases[] = {
      {"a typo", "{\"trackpad\": {\"mode\": \"mac\",}"},
      {"a field of another type", configText("", "", "\"fast\"")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(paths.configFile.string() + ".broken");
    writeConfig(c.file);
    auto model = makeModel();
    ASSERT_TRUE(model->warning());
    const std::string& line = model->warning()->text;
    EXPECT_TRUE(line.starts_with("Couldn't read settings: ")) << line;
    EXPECT_TRUE(line.ends_with(". A copy was kept as config.json.broken.")) << line;
    EXPECT_GT(line.size(), std::string("Couldn't read settings: . A copy was kept as "
                                       "config.json.broken.")
                               .size())
        << "with the reason";
    EXPECT_EQ(model->warning()->action, WarningLine::Action::none);

    model->binding (&DeviceConfig::speed)(12);
    model->save();
    EXPECT_EQ(readFile(paths.configFile.string() + ".broken"), c.file) << "kept as it was";
    EXPECT_NE(readConfig().find("\"speed\": 12"), std::string::npos);
    EXPECT_FALSE(model->warning()) << "gone after the save";
    EXPECT_TRUE(model->brokenConfig().empty());
  }
}

TEST_F(KeptSettings, AMissingFileIsNotBroken) {
  auto model = makeModel();
  EXPECT_FALSE(model->warning());
  model->binding (&DeviceConfig::speed)(12);
  model->save();
  EXPECT_FALSE(fs::exists(paths.configFile.string() + ".broken"));
}

TEST_F(KeptSettings, QuittingWithinTheSaveDelaySavesTheEdit) {
  writeConfig(configText());
  auto model = makeModel();
  model->binding (&DeviceConfig::speed)(14);
  ASSERT_TRUE(model->savePending());
  // Quit, a request to quit from another app, logging out: Qt's loop ends
  // at once, long before the save's 0.3 s.
  QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
  QCoreApplication::exec();
  EXPECT_NE(readConfig().find("\"speed\": 14"), std::string::npos) << readConfig();
}

}  // namespace
}  // namespace quillon::app::test
