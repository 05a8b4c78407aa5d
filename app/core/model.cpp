#include "app/core/model.h"

#include <QCoreApplication>
#include <cmath>

#include "app/core/defaults.h"
#include "app/core/helper_control.h"
#include "app/core/mac_settings.h"
#include "app/core/migration.h"
#include "common/decimal_text.h"

namespace quillon::app {

namespace {

// printf's "%.Nf" in the C locale, whatever locale Qt has set.
std::string fixed(double v, int decimals) {
  return fixedText(v, decimals);
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
  // Quit, another app's request to quit, logging out: however the app
  // ends, an edit of the last 0.3 s is saved first.
  if (QCoreApplication* app = QCoreApplication::instance()) {
    connect(app, &QCoreApplication::aboutToQuit, this, &Model::flushPendingSave);
  }

  if (!env_.flags.previewOnly) {
    Migration::perform(env_);
    Helper::refreshIfUpdated(env_);
  }
  loadPresets();
  refresh();
  if (!env_.flags.previewOnly) applyMouseAcceleration();
}

Model::~Model() = default;

void Model::setDevice(Device d) {
  if (d == device_) return;
  device_ = d;
  setMessage(describe());
  updatePreview();
  emit deviceChanged();
}

void Model::setHasTrackpad(bool on) {
  if (on == hasTrackpad_) return;
  hasTrackpad_ = on;
  emit hasTrackpadChanged();
}

void Model::setMouseMacAccel(bool on) {
  mouseMacAccelEdited_ = true;
  readMouseMacAccel(on);
}

void Model::readMouseMacAccel(bool on) {
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

void Model::showMode(Mode m) {
  cfg().mode = std::string(modeKey(m));
  emit configChanged();
  setMessage(describe());
  updatePreview();
}

bool Model::accelSwitchAvailable() const {
  return !(device_ == Device::trackpad && mode() == Mode::mac);
}

double Model::macSpeedOf(Device d) const {
  auto it = macSpeed_.find(d);
  return it == macSpeed_.end() ? Defaults::macSpeed : it->second;
}

void Model::setMacSpeed(Device d, double speed) {
  macSpeedEdited_.insert(d);
  if (auto it = macSpeed_.find(d); it != macSpeed_.end() && it->second == speed) return;
  macSpeed_[d] = speed;
  emit macSpeedChanged();
}

void Model::changed() {
  if (loading_) return;
  emit modelChanged();
  emit configChanged();
  setMessage(describe());
  updatePreview();
  pending_.start();  // restarts: edits within 0.3 s of each other save once
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
