#include "app/core/model.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <system_error>

#include "app/core/defaults.h"
#include "app/core/mac_settings.h"
#include "common/atomic_file.h"

// The model's storage: reading config.json and macOS's pointer settings in,
// writing them out.
namespace quillon::app {

namespace {

// config.json is a few hundred bytes; a file far larger is not ours.
constexpr std::size_t kMaxConfigBytes = 1 << 20;

double roundToTenth(double v) {
  return std::round(v * 10) / 10;
}

}  // namespace

void Model::refresh() {
  // An edit still waiting for its save would be overwritten by the file's
  // older contents, and the waiting save would then write those back.
  flushPendingSave();
  setHasTrackpad(trackpadConnected(env_));
  loading_ = true;

  std::optional<Config> loaded;
  if (const FileRead file = readFile(env_.paths.configFile, kMaxConfigBytes); file.ok()) {
    try {
      loaded = decodeConfig(file.content);
    } catch (const ConfigError&) {
      // A broken file is kept in memory as it was; the next save replaces it.
    }
  }
  if (loaded) {
    config_ = *loaded;
    // Builds before a minimum mouse speed existed could store 1 or 2.
    if (config_.mouse.speed < 5.0) {
      config_.mouse.speed = 30.0;
      config_.mouse.accel = 0.8;
    }
    if (!config_.mouse.dpi) config_.mouse.dpi = kDefaultMouseDPI;
    for (Device d : kAllDevices) {
      DeviceConfig& c = d == Device::mouse ? config_.mouse : config_.trackpad;
      if (!c.maxBoost) c.maxBoost = roundToTenth(1 + 3 * c.accel);
    }
  } else {
    const bool natural = macNaturalScrolling(env_);
    config_.trackpad.natural = natural;
    config_.mouse.natural = natural;
  }
  emit configChanged();

  for (Device d : kAllDevices) {
    const double speed = prefNumber(env_, macSpeedKey(d)).value_or(Defaults::macSpeed);
    // NaN is not a speed macOS can have; it reads as the default.
    setMacSpeed(d, std::isnan(speed) ? Defaults::macSpeed : std::clamp(speed, 0.0, 3.0));
  }
  setMouseMacAccel(!prefBool(env_, PrefKey::mouseLinear).value_or(false));
  setOpenAtLoginValue(env_.sys.services.mainApp().status() == platform::ServiceStatus::enabled);
  setMessage(describe());
  updatePreview();
  loading_ = false;
}

void Model::flushPendingSave() {
  if (!pending_.isActive()) return;
  pending_.stop();
  save();
}

void Model::writeMacSpeeds() {
  for (Device d : kAllDevices) {
    const double wanted = macSpeedOf(d);
    const double current = prefNumber(env_, macSpeedKey(d)).value_or(-9.0);
    if (!(std::abs(current - wanted) > 0.001)) continue;
    setPref(env_, macSpeedKey(d), wanted);
    setHID(env_, hidSpeedKey(d), hidSpeedValue(wanted));
  }
}

std::optional<std::string> Model::writeConfigFile() {
  std::error_code ec;
  std::filesystem::create_directories(env_.paths.supportDir, ec);
  if (ec) return ec.message();
  errno = 0;
  if (!writeFileAtomically(env_.paths.configFile, encodeConfig(config_))) {
    const int err = errno;
    return err != 0 ? std::generic_category().message(err)
                    : std::string("The file couldn't be written.");
  }
  return std::nullopt;
}

void Model::save() {
  if (env_.flags.uninstalling || env_.flags.previewOnly) return;
  writeMacSpeeds();
  applyMouseAcceleration();
  if (const auto error = writeConfigFile()) {
    setMessage("Couldn't save settings: " + *error);
    return;
  }
  startHelperIfNeeded();
}

}  // namespace quillon::app
