// Loading, repairing, saving and describing the settings.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/core/helper_control.h"
#include "app/core/last_device.h"
#include "config_text.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

using Model_ = CoreTest;

struct RepairCase {
  const char* name;
  std::string file;
  double mouseSpeed, mouseAccel, mouseDpi, trackpadBoost, mouseBoost;
};

TEST_F(Model_, LoadRepairsOldValues) {
  const RepairCase cases[] = {
      {"slow mouse gets the mouse defaults", configText("", ",\"dpi\":800", "2.0"), 30, 0.8, 800,
       2.8, 3.4},
      {"missing dpi is 1600", configText(), 30, 0.8, 1600, 2.8, 3.4},
      {"stored maxBoost stays", configText(",\"maxBoost\":5", ",\"maxBoost\":0.5"), 30, 0.8, 1600,
       5, 0.5},
      {"boost rounds halves away from zero",
       R"({"trackpad":{"mode":"mac","speed":10,"accel":0.25,"winSpeed":5,"scale":1,"natural":true},
           "mouse":{"mode":"mac","speed":5,"accel":0.05,"winSpeed":10,"scale":1,"natural":false}})",
       5, 0.05, 1600, 1.8, 1.2},
  };
  for (const RepairCase& c : cases) {
    SCOPED_TRACE(c.name);
    writeConfig(c.file);
    auto model = makeModel();
    EXPECT_DOUBLE_EQ(model->config().mouse.speed, c.mouseSpeed);
    EXPECT_DOUBLE_EQ(model->config().mouse.accel, c.mouseAccel);
    EXPECT_EQ(model->config().mouse.dpi, c.mouseDpi);
    EXPECT_DOUBLE_EQ(*model->config().trackpad.maxBoost, c.trackpadBoost);
    EXPECT_DOUBLE_EQ(*model->config().mouse.maxBoost, c.mouseBoost);
  }
}

TEST_F(Model_, RepairedValuesAreWrittenByTheNextSave) {
  writeConfig(configText("", "", "2.0"));
  auto model = makeModel();
  model->save();
  const auto saved = nlohmann::json::parse(readConfig());
  EXPECT_EQ(saved["mouse"]["speed"], 30.0);
  EXPECT_EQ(saved["mouse"]["accel"], 0.8);
  EXPECT_EQ(saved["mouse"]["dpi"], 1600.0);
}

TEST_F(Model_, BrokenFileIsKeptInMemoryAndOverwrittenByTheNextSave) {
  mac.prefs["com.apple.swipescrolldirection"] = false;
  writeConfig(configText(",\"accelOff\":true"));
  auto model = makeModel();
  ASSERT_TRUE(model->config().trackpad.accelOff.value_or(false));
  for (const char* broken : {R"({"trackpad":{"mode":"mac"}})", "not json", "[1,2]", ""}) {
    SCOPED_TRACE(broken);
    writeConfig(broken);
    model->refresh();
    EXPECT_TRUE(model->config().trackpad.accelOff.value_or(false)) << "previous config stays";
    EXPECT_FALSE(model->config().trackpad.natural) << "natural follows macOS";
    EXPECT_EQ(model->message(), "Trackpad: macOS curve at 0.69") << "no error shown";
  }
  model->save();
  EXPECT_TRUE(nlohmann::json::parse(readConfig())["trackpad"]["accelOff"].get<bool>());
}

TEST_F(Model_, MissingFileStartsFromDefaultsWithMacNaturalScrolling) {
  mac.prefs["com.apple.swipescrolldirection"] = false;
  auto model = makeModel();
  EXPECT_EQ(model->config().mouse.speed, 30);
  EXPECT_FALSE(model->config().trackpad.natural);
  EXPECT_FALSE(model->config().mouse.natural);
  EXPECT_FALSE(model->config().trackpad.maxBoost) << "repairs apply to loaded files only";
}

TEST_F(Model_, MacSettingsReadWithLimitsAndDefaults) {
  struct Case {
    std::optional<platform::PrefValue> pref;
    double shown;
  };
  const Case cases[] = {
      {4.5, 3},       {-1.0, 0}, {std::nullopt, 0.6875}, {std::string("1"), 0.6875},
      {true, 0.6875}, {1.5, 1.5}};
  for (const Case& c : cases) {
    if (c.pref) {
      mac.prefs["com.apple.trackpad.scaling"] = *c.pref;
    } else {
      mac.prefs.erase("com.apple.trackpad.scaling");
    }
    auto model = makeModel();
    EXPECT_DOUBLE_EQ(model->macSpeedOf(Device::trackpad), c.shown);
  }
  mac.prefs["com.apple.mouse.linear"] = true;
  EXPECT_FALSE(makeModel()->mouseMacAccel());
  mac.prefs["com.apple.mouse.linear"] = 1.0;
  EXPECT_TRUE(makeModel()->mouseMacAccel()) << "a number is not a boolean";
}

TEST_F(Model_, SaveWritesMacSpeedOnlyWhenItDiffers) {
  mac.prefs["com.apple.trackpad.scaling"] = 1.0;
  mac.prefs["com.apple.mouse.scaling"] = 0.6875;
  mac.prefs["com.apple.mouse.linear"] = false;
  auto model = makeModel();
  mac.agent.status_ = platform::ServiceStatus::enabled;
  model->setMacSpeed(Device::trackpad, 1.0005);
  model->setMacSpeed(Device::mouse, 2.0);
  model->save();
  EXPECT_EQ(mac.calls,
            (Calls{"pref com.apple.mouse.scaling 2", "hid.client HIDMouseAcceleration 131072",
                   "hid.client HIDUseLinearScalingMouseAcceleration 0",
                   "hid.parameter HIDUseLinearScalingMouseAcceleration 0", "agent.unregister"}))
      << "all-mac settings leave nothing for the helper";
}

TEST_F(Model_, SaveFailureKeepsThePreviousFileAndDoesNotStartTheHelper) {
  auto model = makeModel();
  model->config().trackpad.mode = "windows";  // the helper would be needed
  std::filesystem::create_directories(paths.configFile / "inside");
  model->save();
  EXPECT_EQ(model->message(), "Couldn't save settings: Is a directory");
  EXPECT_TRUE(std::filesystem::is_directory(paths.configFile / "inside"));
  EXPECT_TRUE(callsStartingWith("agent").empty());

  // A support folder that cannot be made: a file sits where a folder must be.
  std::filesystem::remove_all(paths.home / "Library");
  std::filesystem::create_directories(paths.home);
  std::ofstream(paths.home / "Library") << "x";
  model->save();
  EXPECT_EQ(model->message().rfind("Couldn't save settings: ", 0), 0u) << model->message();
  EXPECT_TRUE(callsStartingWith("agent").empty());
}

TEST_F(Model_, SaveFailureInAFolderThatCannotBeWritten) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  writeConfig(configText(",\"accelOff\":true"));
  auto model = makeModel();
  ::chmod(paths.supportDir.c_str(), 0555);
  model->config().trackpad.mode = "windows";
  model->save();
  ::chmod(paths.supportDir.c_str(), 0755);
  EXPECT_EQ(model->message(), "Couldn't save settings: Permission denied");
  EXPECT_EQ(readConfig(), configText(",\"accelOff\":true"));
}

// The same failure for every user, root included: a file-size limit of zero
// makes the write itself fail.
TEST_F(Model_, SaveFailureWhenTheWriteIsRefused) {
  writeConfig(configText(",\"accelOff\":true"));
  auto model = makeModel();
  model->config().trackpad.mode = "windows";
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const rlimit none{0, old.rlim_max};
  auto* const oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &none), 0);
  model->save();
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(model->message(), "Couldn't save settings: File too large");
  EXPECT_EQ(readConfig(), configText(",\"accelOff\":true"));
  EXPECT_TRUE(callsStartingWith("agent").empty());
}

TEST_F(Model_, NothingIsSavedWhilePreviewOnlyOrUninstalling) {
  auto model = makeModel();
  for (bool* flag : {&env.flags.previewOnly, &env.flags.uninstalling}) {
    *flag = true;
    model->save();
    *flag = false;
  }
  EXPECT_FALSE(std::filesystem::exists(paths.configFile));
  EXPECT_TRUE(mac.calls.empty());
}

TEST_F(Model_, DescribeEachMode) {
  auto model = makeModel();
  struct Case {
    Device device;
    std::function<void(DeviceConfig&)> edit;
    const char* text;
  };
  const Case cases[] = {
      {Device::trackpad, [](DeviceConfig&) {}, "Trackpad: macOS curve at 0.69"},
      {Device::mouse, [](DeviceConfig& c) { c.mode = "windows"; },
       "Mouse: Windows 10, matched by speed"},
      {Device::mouse, [](DeviceConfig& c) { c.match = "share"; },
       "Mouse: Windows 10, matched by screen size"},
      {Device::trackpad, [](DeviceConfig& c) { c.mode = "custom"; },
       "Trackpad: 10 pt per mm, acceleration 0.60"},
      {Device::trackpad, [](DeviceConfig& c) { c.accelOff = true; },
       "Trackpad: 10 pt per mm, no acceleration"},
      {Device::trackpad, [](DeviceConfig& c) { c.mode = "something"; },
       "Trackpad: macOS curve at 0.69"},
  };
  for (const Case& c : cases) {
    model->setDevice(c.device);
    c.edit(model->cfg());
    EXPECT_EQ(model->describe(), c.text);
  }
}

// Choosing a device, whether in the panel, by the opening click or by the
// screenshot tool, is no edit: the model redescribes itself and redraws the
// curves for that device, and nothing is written.
TEST_F(Model_, ADeviceOrAShownModeKeepsTheModelInStepWithoutSaving) {
  writeConfig(configText());
  auto model = makeModel();
  const std::string before = readConfig();
  ASSERT_EQ(model->device(), Device::trackpad);
  struct Step {
    const char* name;
    std::function<void()> act;
    Device device;
    const char* message;
  };
  const Step steps[] = {
      {"the mouse chosen", [&] { model->setDevice(Device::mouse); }, Device::mouse,
       "Mouse: macOS curve at 0.69"},
      {"a mode shown", [&] { model->showMode(Mode::custom); }, Device::mouse,
       "Mouse: 30 pt per mm, acceleration 0.80"},
      {"the trackpad by the opening click",
       [&] {
         mac.currentEvent = platform::CurrentEvent{1, 3};
         LastDevice::fromOpeningClick(env, *model);
       },
       Device::trackpad, "Trackpad: macOS curve at 0.69"},
  };
  for (const Step& s : steps) {
    s.act();
    EXPECT_EQ(model->device(), s.device) << s.name;
    EXPECT_EQ(model->message(), s.message) << s.name;
    EXPECT_EQ(model->previewDevice(), s.device) << s.name << ": the curves are the device's";
    EXPECT_FALSE(model->savePending()) << s.name;
  }
  loop.advance(1);
  EXPECT_EQ(readConfig(), before) << "nothing was saved";
}

TEST_F(Model_, StartsOnTheMouseWithoutATrackpad) {
  mac.trackpadServices = 0;
  auto model = makeModel();
  EXPECT_EQ(model->device(), Device::mouse);
  EXPECT_FALSE(model->hasTrackpad());
}

}  // namespace
}  // namespace quillon::app::test
