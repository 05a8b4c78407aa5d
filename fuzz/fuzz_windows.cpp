// Arbitrary bytes as a Windows measurement file: decoding must fail cleanly
// or give a file from which every builder path runs without a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "helper/errors.h"
#include "helper/windows_curve.h"
#include "helper/windows_file.h"

namespace {

using namespace quillon;

void exercise(const WindowsCurveFile& file, const DeviceConfig& config, Device device) {
  try {
    const Curve c = windowsTableCurve(file, config, device);
    const DisplayInfo display{5, 1470, {}};
    for (double v : {-1.0, 0.0, 3.0, 50.0, 400.0, 1e9}) (void)c.ptsPerMM(v, display);
  } catch (const CurveError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  WindowsCurveFile file;
  try {
    file = decodeWindowsFile(text);
  } catch (const CurveError&) {
    return 0;
  }
  DeviceConfig config;
  config.mode = "windows";
  for (double winSpeed : {0.0, 0.5, 5.0, 7.5, 10.0, 15.0, 1e300}) {
    config.winSpeed = winSpeed;
    for (bool off : {false, true}) {
      config.accelOff = off;
      config.match = off ? "share" : "distance";
      config.winDpi = off ? std::optional<double>(30) : std::nullopt;
      exercise(file, config, Device::trackpad);
      exercise(file, config, Device::mouse);
    }
  }
  return 0;
}
