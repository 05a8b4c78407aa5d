// Saved curves: storage, damaged data, and the slot operations.
#include <cmath>

#include "app/core/presets.h"
#include "core_fixture.h"

namespace quillon::app::test {
namespace {

using Presets = CoreTest;

TEST_F(Presets, DamagedOrForeignListsReadAsThreeEmptySlots) {
  const char* damaged[] = {
      "[null,null]",
      "[null,null,null,null]",
      "not json",
      R"([null,{"speed":1,"accel":1,"shape":1,"threshold":1},null])",
      R"([null,{"speed":"1","accel":1,"shape":1,"threshold":1,"maxBoost":1},null])",
      R"([null,7,null])",
      R"({"0":null})",
      R"([null,{"speed":1e999,"accel":1,"shape":1,"threshold":1,"maxBoost":1},null])",
  };
  for (const char* text : damaged) {
    mac.standard.setText("presets.mouse", text);
    auto model = makeModel();
    model->setDevice(Device::mouse);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(model->preset(i)) << text;
    EXPECT_EQ(mac.standard.text("presets.mouse"), text) << "nothing is written back";
  }

  // The next save on that device replaces the damaged list with a sound one.
  auto model = makeModel();
  model->setDevice(Device::mouse);
  model->savePreset(1);
  const auto saved = decodePresets(mac.standard.text("presets.mouse"));
  ASSERT_TRUE(saved);
  EXPECT_FALSE((*saved)[0]);
  EXPECT_TRUE((*saved)[1]);
  EXPECT_FALSE((*saved)[2]);
}

TEST_F(Presets, SaveLoadRoundTrip) {
  mac.standard.setText(
      "presets.mouse",
      R"([null,{"maxBoost":3,"threshold":20,"shape":1.4,"accel":0.8,"speed":30},null])");
  auto model = makeModel();
  model->setDevice(Device::mouse);
  EXPECT_EQ(model->preset(1), (Preset{30, 0.8, 1.4, 20, 3}));

  model->setDevice(Device::trackpad);
  model->savePreset(2);
  EXPECT_EQ(model->message(), "Saved to slot 3.");
  EXPECT_FALSE(model->savePending()) << "not an edit of config.json";
  EXPECT_EQ(mac.standard.text("presets.trackpad"),
            R"([null,null,{"accel":0.6,"maxBoost":3.0,"shape":1.0,"speed":10.0,"threshold":0.0}])");

  model->setMode(Mode::windows);
  model->binding (&DeviceConfig::speed)(22);
  model->loadPreset(2);
  EXPECT_EQ(model->cfg().mode, "windows") << "loading keeps the mode";
  EXPECT_EQ(model->cfg().speed, 10);
  EXPECT_EQ(model->cfg().shape, 1.0) << "stored as present";
  EXPECT_EQ(model->cfg().threshold, 0.0);
  EXPECT_TRUE(model->savePending());

  model->deletePreset(2);
  EXPECT_EQ(mac.standard.text("presets.trackpad"), "[null,null,null]");
  model->loadPreset(2);  // empty: nothing happens
  EXPECT_EQ(model->cfg().speed, 10);
  for (int bad : {-1, 3}) {
    model->savePreset(bad);
    model->loadPreset(bad);
    model->deletePreset(bad);
  }
  EXPECT_EQ(mac.standard.text("presets.trackpad"), "[null,null,null]");
}

TEST_F(Presets, ANumberJsonCannotHoldLeavesTheStoredListAlone) {
  mac.standard.setText("presets.trackpad", "[null,null,null]");
  auto model = makeModel();
  model->cfg().speed = std::nan("");
  model->savePreset(0);
  EXPECT_EQ(mac.standard.text("presets.trackpad"), "[null,null,null]");
  EXPECT_TRUE(model->preset(0)) << "the list in memory still changes";
}

}  // namespace
}  // namespace quillon::app::test
