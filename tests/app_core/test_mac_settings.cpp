// macOS's pointer settings and the three resets.
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "app/core/helper_control.h"
#include "app/core/mac_settings.h"
#include "config_text.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

using MacSettings = CoreTest;
using nlohmann::json;

TEST_F(MacSettings, SetHIDReachesTrackpadServicesOnlyForTheTrackpadSpeed) {
  mac.hidServices = {
      {7, "HIDTrackpadAcceleration"}, {8, "HIDMouseAcceleration"}, {9, std::nullopt}};
  setHID(env, "HIDMouseAcceleration", 65536);
  EXPECT_EQ(mac.calls, (Calls{"hid.client HIDMouseAcceleration 65536"}));
  mac.calls.clear();
  setHID(env, "HIDTrackpadAcceleration", 98304);
  EXPECT_EQ(mac.calls, (Calls{"hid.client HIDTrackpadAcceleration 98304",
                              "hid.service 7 HIDTrackpadAcceleration 98304",
                              "hid.legacy HIDTrackpadAcceleration 1.5"}));
  EXPECT_EQ(hidSpeedValue(0.6875), 45056);
  EXPECT_EQ(hidSpeedValue(1.00001), 65536) << "truncated";
  EXPECT_EQ(hidSpeedValue(std::nan("")), 0);
}

TEST_F(MacSettings, MouseAccelerationWritesThePreferenceOnlyWhenItDisagrees) {
  auto model = makeModel();
  // Switched off in System Settings: taken as it is, and pushed.
  mac.prefs["com.apple.mouse.linear"] = true;
  model->applyMouseAcceleration();
  EXPECT_FALSE(model->mouseMacAccel());
  EXPECT_EQ(mac.calls, (Calls{"hid.client HIDUseLinearScalingMouseAcceleration 1",
                              "hid.parameter HIDUseLinearScalingMouseAcceleration 1"}));
  mac.calls.clear();
  // Switched on in Quillon: written.
  model->setMouseMacAccel(true);
  model->applyMouseAcceleration();
  EXPECT_EQ(mac.calls, (Calls{"pref com.apple.mouse.linear false",
                              "hid.client HIDUseLinearScalingMouseAcceleration 0",
                              "hid.parameter HIDUseLinearScalingMouseAcceleration 0"}));
  mac.calls.clear();
  model->setMouseMacAccel(false);
  mac.prefs["com.apple.mouse.linear"] = true;
  model->applyMouseAcceleration();
  EXPECT_EQ(mac.calls, (Calls{"hid.client HIDUseLinearScalingMouseAcceleration 1",
                              "hid.parameter HIDUseLinearScalingMouseAcceleration 1"}));
}

TEST_F(MacSettings, TrackpadDetectionAndShakeToLocate) {
  EXPECT_TRUE(trackpadConnected(env));
  mac.trackpadServices = 0;
  EXPECT_FALSE(trackpadConnected(env));
  mac.trackpadServices = std::nullopt;
  EXPECT_TRUE(trackpadConnected(env)) << "a failed query counts as connected";
  ::setenv("QUILLON_NO_TRACKPAD", "1", 1);
  EXPECT_FALSE(trackpadConnected(env));
  ::unsetenv("QUILLON_NO_TRACKPAD");

  EXPECT_TRUE(ShakeToLocate::isOn(env));
  mac.prefs["CGDisableCursorLocationMagnification"] = true;
  EXPECT_FALSE(ShakeToLocate::isOn(env));
  mac.prefs["CGDisableCursorLocationMagnification"] = 1.0;
  EXPECT_TRUE(ShakeToLocate::isOn(env)) << "wrong type reads as on";
  EXPECT_TRUE(macNaturalScrolling(env));
}

TEST_F(MacSettings, ResetCurrentPerMode) {
  writeConfig(configText(",\"natural\":false", R"(,"dpi":800,"winDpi":400,"scrollSpeed":2)"));
  auto model = makeModel();
  model->setDevice(Device::mouse);
  model->setMode(Mode::windows);
  model->cfg().winSpeed = 3;
  model->cfg().scale = 2;
  model->cfg().match = "share";
  model->cfg().accelOff = true;
  model->resetCurrent();
  EXPECT_FALSE(model->savePending()) << "saved at once";
  json mouse = json::parse(readConfig())["mouse"];
  EXPECT_EQ(mouse["mode"], "windows");
  EXPECT_EQ(mouse["winSpeed"], 10.0);
  EXPECT_EQ(mouse["scale"], 1.0);
  EXPECT_FALSE(mouse.contains("match"));
  EXPECT_FALSE(mouse.contains("accelOff"));
  EXPECT_EQ(mouse["dpi"], 800.0) << "DPI, Windows DPI and scrolling are kept";
  EXPECT_EQ(mouse["winDpi"], 400.0);
  EXPECT_EQ(mouse["scrollSpeed"], 2.0);

  model->setMode(Mode::custom);
  model->cfg().shape = 2;
  model->cfg().threshold = 9;
  model->resetCurrent();
  mouse = json::parse(readConfig())["mouse"];
  EXPECT_EQ(mouse["speed"], 30.0);
  EXPECT_EQ(mouse["accel"], 0.8);
  EXPECT_EQ(mouse["maxBoost"], 3.0);
  EXPECT_FALSE(mouse.contains("shape"));
  EXPECT_FALSE(mouse.contains("threshold"));

  model->setMode(Mode::mac);
  model->setMacSpeed(Device::mouse, 2);
  model->setMouseMacAccel(false);
  mac.prefs["com.apple.mouse.scaling"] = 2.0;
  mac.calls.clear();
  model->resetCurrent();
  EXPECT_EQ(model->macSpeedOf(Device::mouse), 0.6875);
  EXPECT_TRUE(model->mouseMacAccel());
  EXPECT_EQ(callsStartingWith("pref com.apple.mouse.scaling"),
            (std::vector<std::string>{"pref com.apple.mouse.scaling 0.6875"}));
}

TEST_F(MacSettings, MacDefaultSavesAtOnce) {
  auto model = makeModel();
  model->setMode(Mode::custom);
  model->cfg().accelOff = true;
  model->setMacSpeed(Device::trackpad, 2.5);
  model->macDefault();
  EXPECT_FALSE(model->savePending());
  const json trackpad = json::parse(readConfig())["trackpad"];
  EXPECT_EQ(trackpad["mode"], "mac");
  EXPECT_FALSE(trackpad.contains("accelOff"));
  EXPECT_EQ(std::get<double>(mac.prefs.at("com.apple.trackpad.scaling")), 0.6875);
}

TEST_F(MacSettings, ResetAllKeepsOnlyTheMouseDpiThenStopsAndRelaunches) {
  for (const char* dpi : {"", ",\"dpi\":800"}) {
    SCOPED_TRACE(dpi);
    mac.prefs["com.apple.swipescrolldirection"] = false;
    writeConfig(configText(R"(,"scrollSpeed":3,"shape":2)", dpi));
    mac.standard.setText("presets.trackpad", "[null,null,null]");
    auto model = makeModel();
    std::filesystem::remove(paths.configFile);
    model->config().mouse.dpi = dpi[0] ? std::optional<double>(800) : std::nullopt;
    model->setMacSpeed(Device::trackpad, 2);
    model->setMacSpeed(Device::mouse, 1);
    model->setMouseMacAccel(false);
    mac.agent.status_ = platform::ServiceStatus::enabled;
    env.flags.keepForSetup = true;  // so that only resetAll itself can stop the helper
    model->resetAll();
    env.flags.keepForSetup = false;
    const json saved = json::parse(readConfig());
    EXPECT_EQ(saved["trackpad"],
              json::parse(R"({"mode":"mac","speed":10.0,"accel":0.6,"winSpeed":5.0,"scale":1.0,
                              "natural":false,"maxBoost":3.0})"));
    json mouse = json::parse(R"({"mode":"mac","speed":30.0,"accel":0.8,"winSpeed":10.0,
                                 "scale":1.0,"natural":false,"maxBoost":3.0})");
    if (dpi[0]) mouse["dpi"] = 800.0;
    EXPECT_EQ(saved["mouse"], mouse);
    for (Device d : kAllDevices) EXPECT_EQ(model->macSpeedOf(d), 0.6875);
    EXPECT_TRUE(model->mouseMacAccel());
    EXPECT_EQ(mac.calls.back(), "window.terminate 0") << "the relaunch, stubbed";
    EXPECT_EQ(mac.calls[mac.calls.size() - 2], "agent.unregister");
    EXPECT_EQ(mac.standard.text("presets.trackpad"), "[null,null,null]") << "saved curves kept";
  }
}

}  // namespace
}  // namespace quillon::app::test
