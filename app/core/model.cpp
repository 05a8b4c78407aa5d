#include "app/core/model.h"

#include <cerrno>
#include <cmath>
#include <system_error>

#include "app/core/defaults.h"
#include "app/core/helper_control.h"
#include "app/core/mac_settings.h"
#include "app/core/migration.h"
#include "common/atomic_file.h"
#include "common/decimal_text.h"

namespace quillon::app {

namespace {

// config.json is a few hundred bytes; a file far larger is not ours.
constexpr std::size_t kMaxConfigBytes = 1 << 20;

// printf's "%.Nf" in the C locale, whatever locale Qt has set.
std::string fixed(double v, int decimals) {
  return fixedText(v, decimals);
}

double roundToTenth(double v) {
  return std::round(v * 10) / 10;
}

}  // namespace

Model::Model(Env& env, Windows& windows, PreviewRunner& preview, QObject* parent)
    : QObject(parent), env_(env), windows_(windows), preview_(preview) {
  hasTrackpad_ = trackpadConnected(env_);
  device_ = hasTrackpad_ ? Device::trackpad : Device::mouse;
  macSpeed_ = {{Device::trackpad, Defaults::macSpeed}, {Device::mouse, Defaults::macSpeed}};
  openAtLogin_ = env_.sys.services.mainApp().status() == platform::ServiceStatus::enabled;
  pending_.setSingleShot(true);
  pending_.setTimerType(Qt::PreciseTimer);
  pending_.setInterval(kSaveDelayMs);
  // The timer is the model's own member, so a save can never outlive it.
  connect(&pending_, &QTimer::timeout, this, &Model::save);

  if (!previewOnly) {
    Migration::perform(env_);
    Helper::refreshIfUpdated(env_);
  }
  loadPresets();
  refresh();
  if (!previewOnly) applyMouseAcceleration();
}

Model::~Model() = default;

void Model::setDevice(Device d) {
  if (d == device_) return;
  device_ = d;
  emit deviceChanged();
}

void Model::setHasTrackpad(bool on) {
  if (on == hasTrackpad_) return;
  hasTrackpad_ = on;
  emit hasTrackpadChanged();
}

void Model::setMouseMacAccel(bool on) {
  if (on == mouseMacAccel_) return;
  mouseMacAccel_ = on;
  emit mouseMacAccelChanged();
}

void Model::setMessage(std::string text) {
  if (text == message_) return;
  message_ = std::move(text);
  emit messageChanged();
}

void Model::setOpenAtLoginValue(bool on) {
  if (on == openAtLogin_) return;
  openAtLogin_ = on;
  emit openAtLoginChanged();
}

void Model::setCurves(std::map<Mode, CurvePoints> curves) {
  curves_ = std::move(curves);
  emit curvesChanged();
}

const DeviceConfig& Model::cfg() const {
  return device_ == Device::mouse ? config_.mouse : config_.trackpad;
}

DeviceConfig& Model::cfg() {
  return device_ == Device::mouse ? config_.mouse : config_.trackpad;
}

Mode Model::mode() const {
  return modeFromKey(cfg().mode);
}

void Model::setMode(Mode m) {
  cfg().mode = std::string(modeKey(m));
  changed();
}

bool Model::accelSwitchAvailable() const {
  return !(device_ == Device::trackpad && mode() == Mode::mac);
}

double Model::macSpeedOf(Device d) const {
  auto it = macSpeed_.find(d);
  return it == macSpeed_.end() ? Defaults::macSpeed : it->second;
}

void Model::setMacSpeed(Device d, double speed) {
  if (auto it = macSpeed_.find(d); it != macSpeed_.end() && it->second == speed) return;
  macSpeed_[d] = speed;
  emit macSpeedChanged();
}

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

void Model::changed() {
  if (loading_) return;
  emit modelChanged();
  emit configChanged();
  setMessage(describe());
  updatePreview();
  pending_.start();  // restarts: edits within 0.3 s of each other save once
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
  if (uninstalling || previewOnly) return;
  writeMacSpeeds();
  applyMouseAcceleration();
  if (const auto error = writeConfigFile()) {
    setMessage("Couldn't save settings: " + *error);
    return;
  }
  startHelperIfNeeded();
}

std::string Model::describe() const {
  std::string name(displayName(device_));
  const DeviceConfig& c = cfg();
  switch (mode()) {
    case Mode::mac: {
      auto it = macSpeed_.find(device_);
      return name + ": macOS curve at " + fixed(it == macSpeed_.end() ? 0 : it->second, 2);
    }
    case Mode::windows:
      return name + ": Windows " + fixed(c.winSpeed, 0) + ", matched by " +
             (c.match == "share" ? "screen size" : "speed");
    case Mode::custom:
      if (c.accelOff.value_or(false)) {
        return name + ": " + fixed(c.speed, 0) + " pt per mm, no acceleration";
      }
      return name + ": " + fixed(c.speed, 0) + " pt per mm, acceleration " + fixed(c.accel, 2);
  }
  return name;
}

}  // namespace quillon::app
