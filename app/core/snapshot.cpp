#include "app/core/snapshot.h"

#include <QEventLoop>
#include <QTimer>

#include "app/core/model.h"
#include "app/core/qt_run_loop.h"
#include "app/core/windows.h"

namespace quillon::app::Snapshot {

namespace {

struct Scene {
  const char* name;
  Device device;
  Mode mode;
};
constexpr Scene kScenes[] = {
    {"mac", Device::trackpad, Mode::mac},
    {"windows", Device::trackpad, Mode::windows},
    {"custom", Device::mouse, Mode::custom},
    {"windows-mouse", Device::mouse, Mode::windows},
};

void demonstrationState(Model& model) {
  model.setMacSpeed(Device::trackpad, 1.0);
  DeviceConfig& trackpad = model.config().trackpad;
  trackpad.natural = true;
  trackpad.scrollAccelOff.reset();
  trackpad.winSpeed = 5.0;
  DeviceConfig& mouse = model.config().mouse;
  mouse.natural = false;
  mouse.scrollAccelOff = true;
  mouse.dpi = 1600;
  mouse.speed = 30;
  mouse.accel = 0.8;
  mouse.shape = 1.4;
  mouse.threshold = 20;
  mouse.maxBoost = 3;
}

void runMainLoopFor(double seconds) {
  QEventLoop loop;
  QTimer::singleShot(delayMs(seconds), &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

void run(Model& model, Windows& windows, const std::filesystem::path& folder,
         double settleSeconds) {
  model.env().flags.previewOnly = true;
  demonstrationState(model);
  for (const Scene& scene : kScenes) {
    model.setDevice(scene.device);
    model.showMode(scene.mode);
    runMainLoopFor(settleSeconds);
    windows.snapshotPanel(scene.name, folder);
  }
}

}  // namespace quillon::app::Snapshot
