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
  std::string broken;
  const FileRead file = readFile(env_.paths.configFile, kMaxConfigBytes);
  switch (file.status) {
    case FileRead::Status::ok:
      try {
        loaded = decodeConfig(file.content);
      } catch (const ConfigError& e) {
        broken = e.message;
      }
      break;
    case FileRead::Status::missing:
      break;
    case FileRead::Status::unreadable:
      broken = "the file can't be opened";
      break;
    case FileRead::Status::notRegularFile:
      broken = "it isn't a regular file";
      break;
    case FileRead::Status::tooLarge:
      broken = "the file is larger than 1 MB";
      break;
  }
  // The next save keeps the file aside before it writes over it.
  setBrokenConfig(broken);
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
    readMacSpeed(d, speed);
  }
  readMouseMacAccel(!prefBool(env_, PrefKey::mouseLinear).value_or(false));
  // The model now holds what macOS has: nothing of it is Quillon's edit.
  macSpeedEdited_.clear();
  mouseMacAccelEdited_ = false;
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

void Model::readMacSpeed(Device d, double speed) {
  // NaN is not a speed macOS can have; it reads as the default.
  const double v = std::isnan(speed) ? Defaults::macSpeed : std::clamp(speed, 0.0, 3.0);
  if (auto it = macSpeed_.find(d); it != macSpeed_.end() && it->second == v) return;
  macSpeed_[d] = v;
  emit macSpeedChanged();
}

void Model::writeMacSpeeds() {
  for (Device d : kAllDevices) {
    const std::optional<double> stored = prefNumber(env_, macSpeedKey(d));
    if (!macSpeedEdited_.contains(d)) {
      // Changed in System Settings since Quillon read it: that is the truth
      // now, not the value read when the panel last opened.
      if (stored && std::abs(*stored - macSpeedOf(d)) > 0.001) readMacSpeed(d, *stored);
      continue;
    }
    macSpeedEdited_.erase(d);
    const double wanted = macSpeedOf(d);
    if (!(std::abs(stored.value_or(-9.0) - wanted) > 0.001)) continue;
    setPref(env_, macSpeedKey(d), wanted);
    setHID(env_, hidSpeedKey(d), hidSpeedValue(wanted));
  }
}

void Model::setBrokenConfig(std::string reason) {
  if (reason == brokenConfig_) return;
  brokenConfig_ = std::move(reason);
  updateWarning();
}

std::optional<std::string> Model::keepBrokenConfig() {
  if (brokenConfig_.empty()) return std::nullopt;
  std::error_code ec;
  if (!std::filesystem::exists(env_.paths.configFile, ec)) return std::nullopt;
  // A rename keeps even a file this process cannot read, and replaces an
  // older copy in one step.
  std::filesystem::path kept = env_.paths.configFile;
  kept += ".broken";
  std::filesystem::rename(env_.paths.configFile, kept, ec);
  if (ec) return "couldn't keep the unreadable file: " + ec.message();
  return std::nullopt;
}

std::optional<std::string> Model::writeConfigFile() {
  std::error_code ec;
  std::filesystem::create_directories(env_.paths.supportDir, ec);
  if (ec) return ec.message();
  if (auto error = keepBrokenConfig()) return error;
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
  setBrokenConfig("");
  startHelperIfNeeded();
  updateWarning();
}

}  // namespace quillon::app
