// The controls' bindings: what each writes, and which values remove their
// key from config.json again.
#include <nlohmann/json.hpp>

#include "config_text.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

using Bindings = CoreTest;
using nlohmann::json;

struct Case {
  const char* name;
  Device device;
  std::function<void(Model&)> set;
  const char* key;  // in the device's object of the saved file
  json stored;      // null: the key is absent
  std::function<double(Model&)> readBack;
  double expected;
};

TEST_F(Bindings, SettersStoreOrRemoveAndGettersReadBack) {
  const Case cases[] = {
      {"winDpi near dpi is removed", Device::mouse, [](Model& m) { m.winDpiBinding()(1600.4); },
       "winDpi", nullptr, [](Model& m) { return m.winDpiBinding()(); }, 1600},
      {"winDpi elsewhere is stored", Device::mouse, [](Model& m) { m.winDpiBinding()(800); },
       "winDpi", 800.0, [](Model& m) { return m.winDpiBinding()(); }, 800},
      {"scroll speed near 1 is removed", Device::trackpad,
       [](Model& m) { m.scrollSpeedBinding()(1.0004); }, "scrollSpeed", nullptr,
       [](Model& m) { return m.scrollSpeedBinding()(); }, 1},
      {"scroll speed 1.01 is stored", Device::trackpad,
       [](Model& m) { m.scrollSpeedBinding()(1.01); }, "scrollSpeed", 1.01,
       [](Model& m) { return m.scrollSpeedBinding()(); }, 1.01},
      {"scroll acceleration off is stored", Device::mouse,
       [](Model& m) { m.scrollAccelBinding()(false); }, "scrollAccelOff", true,
       [](Model& m) { return m.scrollAccelBinding()() ? 1.0 : 0.0; }, 0},
      {"scroll acceleration on is removed", Device::mouse,
       [](Model& m) {
         m.scrollAccelBinding()(false);
         m.scrollAccelBinding()(true);
       },
       "scrollAccelOff", nullptr, [](Model& m) { return m.scrollAccelBinding()() ? 1.0 : 0.0; }, 1},
      {"match distance is removed", Device::trackpad,
       [](Model& m) {
         m.matchBinding()("share");
         m.matchBinding()("distance");
       },
       "match", nullptr, [](Model& m) { return m.matchBinding()() == "distance" ? 1.0 : 0.0; }, 1},
      {"match share is stored", Device::trackpad, [](Model& m) { m.matchBinding()("share"); },
       "match", "share", [](Model& m) { return m.matchBinding()() == "share" ? 1.0 : 0.0; }, 1},
      {"acceleration off is stored", Device::trackpad,
       [](Model& m) {
         m.setMode(Mode::custom);
         m.accelBinding()(false);
       },
       "accelOff", true, [](Model& m) { return m.accelBinding()() ? 1.0 : 0.0; }, 0},
      {"acceleration on is removed", Device::trackpad,
       [](Model& m) {
         m.setMode(Mode::custom);
         m.accelBinding()(false);
         m.accelBinding()(true);
       },
       "accelOff", nullptr, [](Model& m) { return m.accelBinding()() ? 1.0 : 0.0; }, 1},
      {"shape is stored", Device::mouse, [](Model& m) { m.shapeBinding()(1.4); }, "shape", 1.4,
       [](Model& m) { return m.shapeBinding()(); }, 1.4},
      {"speed field", Device::trackpad, [](Model& m) { m.binding (&DeviceConfig::speed)(12); },
       "speed", 12.0, [](Model& m) { return m.binding(&DeviceConfig::speed)(); }, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(paths.configFile);
    auto model = makeModel();
    model->setDevice(c.device);
    c.set(*model);
    model->save();
    const json device = json::parse(readConfig())[std::string(deviceKey(c.device))];
    if (c.stored.is_null()) {
      EXPECT_FALSE(device.contains(c.key));
    } else {
      EXPECT_EQ(device[c.key], c.stored);
    }
    EXPECT_DOUBLE_EQ(c.readBack(*model), c.expected);
  }
}

TEST_F(Bindings, GettersOfAbsentFields) {
  auto model = makeModel();
  model->config().mouse.dpi.reset();
  EXPECT_EQ(model->dpiBinding()(), 1600);
  EXPECT_EQ(model->winDpiBinding()(), 1600);
  EXPECT_EQ(model->shapeBinding()(), 1.0);
  EXPECT_EQ(model->thresholdBinding()(), 0.0);
  EXPECT_EQ(model->maxBoostBinding()(), 3.0);
  EXPECT_EQ(model->matchBinding()(), "distance");
}

TEST_F(Bindings, AccelerationSwitchFollowsModeAndDevice) {
  auto model = makeModel();
  EXPECT_TRUE(model->accelBinding()()) << "trackpad in mode mac is always on";
  EXPECT_FALSE(model->accelSwitchAvailable());
  model->setDevice(Device::mouse);
  EXPECT_TRUE(model->accelSwitchAvailable());
  model->accelBinding()(false);
  EXPECT_FALSE(model->mouseMacAccel()) << "the mouse page also switches macOS's own";
  EXPECT_FALSE(model->accelBinding()());
  model->setMode(Mode::windows);
  model->accelBinding()(true);
  EXPECT_TRUE(model->mouseMacAccel()) << "whatever the mode";
  EXPECT_FALSE(model->cfg().accelOff);
}

TEST_F(Bindings, LoadingSchedulesNoSaveAndAnEditDoes) {
  auto model = makeModel();
  EXPECT_FALSE(model->savePending());
  model->binding (&DeviceConfig::accel)(0.7);
  EXPECT_TRUE(model->savePending());
  EXPECT_EQ(model->message(), "Trackpad: macOS curve at 0.69");
  model->setMode(Mode::custom);
  EXPECT_EQ(model->message(), "Trackpad: 10 pt per mm, acceleration 0.70");
}

}  // namespace
}  // namespace quillon::app::test
