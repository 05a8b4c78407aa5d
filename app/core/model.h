#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "app/core/curve_points.h"
#include "app/core/env.h"
#include "app/core/memo.h"
#include "app/core/vocabulary.h"
#include "app/core/warning_line.h"
#include "common/binding.h"
#include "common/config.h"

namespace quillon::app {

class PreviewRunner;
class Windows;

// A saved custom curve: the five numbers of the formula.
struct Preset {
  double speed = 0;      // pointer points per hand millimetre
  double accel = 0;      // how strongly speed builds up
  double shape = 1;      // exponent of the acceleration term
  double threshold = 0;  // mm/s before acceleration starts
  double maxBoost = 3;   // the most the speed is multiplied by
  friend bool operator==(const Preset&, const Preset&) = default;
};
inline constexpr int kPresetSlots = 3;
using PresetSlots = std::array<std::optional<Preset>, kPresetSlots>;

// The app's one settings object: both devices' configuration as config.json
// stores it, plus macOS's own pointer settings. Every edit goes through
// changed(), which redescribes, redraws the preview and saves 0.3 s after
// the last edit. Main thread only.
class Model final : public QObject {
  Q_OBJECT
 public:
  static constexpr int kSaveDelayMs = 300;

  // Sets the starting values and loads everything (migration and the helper
  // check first, unless the run is preview-only).
  Model(Env& env, Windows& windows, PreviewRunner& preview, QObject* parent = nullptr);
  ~Model() override;

  Env& env() { return env_; }

  // Observable properties; each setter emits its signal when the value
  // changes.
  Device device() const { return device_; }
  // Choosing a device is no edit: the message and the curves follow it,
  // nothing is saved.
  void setDevice(Device d);
  bool hasTrackpad() const { return hasTrackpad_; }
  const Config& config() const { return config_; }
  // For direct edits of nested fields; call changed() afterwards.
  Config& config() { return config_; }
  const std::map<Device, double>& macSpeed() const { return macSpeed_; }
  bool mouseMacAccel() const { return mouseMacAccel_; }
  // An edit: the next save writes it to macOS. Values read from macOS do not
  // count as edits, so a save never writes back what was read long ago.
  void setMouseMacAccel(bool on);
  const std::map<Mode, CurvePoints>& curves() const { return curves_; }
  const std::string& message() const { return message_; }
  void setMessage(std::string text);
  bool openAtLogin() const { return openAtLogin_; }
  const std::map<Device, PresetSlots>& presets() const { return presets_; }

  // The shown device's settings.
  const DeviceConfig& cfg() const;
  DeviceConfig& cfg();
  Mode mode() const;
  void setMode(Mode m);  // ends with changed()
  // Shows the shown device in another mode without an edit: the message and
  // the curves follow, nothing is saved (the screenshot tool's scenes).
  void showMode(Mode m);
  // macOS has no acceleration switch for the trackpad in mode mac.
  bool accelSwitchAvailable() const;
  // The shown device's macOS speed, 0.6875 when it has none.
  double macSpeedOf(Device d) const;
  // An edit, as setMouseMacAccel.
  void setMacSpeed(Device d, double speed);
  // Why config.json could not be read, until the next successful save: the
  // file is then kept as config.json.broken. Empty when it read fine or is
  // missing.
  const std::string& brokenConfig() const { return brokenConfig_; }

  void refresh();
  void changed();
  void save();
  std::string describe() const;

  // Bindings for the panel's controls; every setter ends with changed().
  Binding<double> dpiBinding();
  Binding<double> winDpiBinding();
  Binding<std::string> matchBinding();
  // One of the required number fields: &DeviceConfig::speed, accel,
  // winSpeed, scale.
  Binding<double> binding(double DeviceConfig::*field);
  Binding<double> shapeBinding();
  Binding<double> thresholdBinding();
  Binding<double> maxBoostBinding();
  Binding<double> scrollSpeedBinding();
  Binding<bool> scrollAccelBinding();
  Binding<bool> naturalBinding();
  Binding<double> macSpeedBinding();
  Binding<bool> accelBinding();
  Binding<bool> mouseAccelBinding();

  // Helper control (helper_start.cpp).
  void startHelperIfNeeded();
  // The settings give the helper something to do.
  bool helperNeeded() const;
  // The warning line's Restart: registers the helper anew when it is not
  // running, and shows an error in `message`.
  void restartHelper();
  void setOpenAtLogin(bool on);

  // The panel's warning line (helper_health.cpp): what it shows now, read
  // again by updateWarning() and, while watching, every second.
  const std::optional<WarningLine>& warning() const { return warning_; }
  void updateWarning();
  void watchHelper(bool on);
  // The line's button was pressed.
  void warningAction();

  // macOS's settings and the resets (resets.cpp).
  void applyMouseAcceleration();
  void macDefault();
  void resetCurrent();
  void resetAll();

  // Uninstalling (uninstall.cpp): after the confirmation and the survey,
  // everything Quillon added goes, and the app ends.
  void uninstall();

  // Saved curves (presets.cpp).
  void loadPresets();
  std::optional<Preset> preset(int slot) const;
  Preset currentPreset() const;
  void savePreset(int slot);
  void deletePreset(int slot);
  void loadPreset(int slot);

  // The curve preview (preview_model.cpp).
  void updatePreview();
  const std::string& windowsCurveWanted() const { return windowsCurveWanted_; }
  bool windowsCurveCached(const std::string& key) const { return windowsCurveCache_.contains(key); }
  std::optional<Device> previewDevice() const { return previewDevice_; }
  // Whether a save is scheduled and has not run yet.
  bool savePending() const { return pending_.isActive(); }

 signals:
  void deviceChanged();
  void hasTrackpadChanged();
  void configChanged();
  void macSpeedChanged();
  void mouseMacAccelChanged();
  void curvesChanged();
  void messageChanged();
  void openAtLoginChanged();
  void presetsChanged();
  void warningChanged();
  // The explicit announcement of changed(): views bound to nested fields
  // redraw.
  void modelChanged();

 private:
  void setHasTrackpad(bool on);
  // The values as read from macOS: not edits.
  void readMacSpeed(Device d, double speed);
  void readMouseMacAccel(bool on);
  void setBrokenConfig(std::string reason);
  // The setup check after a new registration: looks for a status file of
  // the helper this registration started, every second up to a limit.
  void checkFirstStatus(int previousPid, double waited);
  // Keeps an unreadable config.json as config.json.broken; the error text
  // when that failed.
  std::optional<std::string> keepBrokenConfig();
  // Uninstall: waits for the helper's process to end, then goes on.
  void waitForHelperGone(int pid, int looks);
  void removeEverything();
  void setOpenAtLoginValue(bool on);
  void setCurves(std::map<Mode, CurvePoints> curves);
  void setPresets(Device d, const PresetSlots& list);
  // Runs the pending save now, if there is one.
  void flushPendingSave();
  // The uninstall's removals, after its feedback request has ended.
  void finishUninstall();
  void windowsCurveArrived(const std::string& key, std::optional<CurvePoints> points);
  // Writes config.json; the error text when that failed.
  std::optional<std::string> writeConfigFile();
  void writeMacSpeeds();

  Env& env_;
  Windows& windows_;
  PreviewRunner& preview_;

  Device device_ = Device::trackpad;
  bool hasTrackpad_ = false;
  Config config_;
  std::map<Device, double> macSpeed_;
  bool mouseMacAccel_ = true;
  std::unordered_set<Device> macSpeedEdited_;
  bool mouseMacAccelEdited_ = false;
  std::string brokenConfig_;
  std::optional<WarningLine> warning_;
  uint64_t watchGeneration_ = 0;
  bool watching_ = false;
  std::map<Mode, CurvePoints> curves_;
  std::string message_;
  bool openAtLogin_ = false;
  std::map<Device, PresetSlots> presets_;

  QTimer pending_;  // the scheduled save
  bool loading_ = false;
  std::unordered_map<std::string, CurvePoints> windowsCurveCache_;
  std::string windowsCurveWanted_;
  std::optional<Device> previewDevice_;
  // (device, speed, accel, accelOff, threshold, shape, maxBoost)
  Memo<std::tuple<Device, double, double, std::optional<bool>, std::optional<double>,
                  std::optional<double>, std::optional<double>>,
       CurvePoints>
      customMemo_;
  // (device, macOS speed, dpi, macOS mouse acceleration)
  Memo<std::tuple<Device, double, std::optional<double>, bool>, CurvePoints> macMemo_;
  // Keys whose helper run has not answered yet: a second request for the
  // same key waits for that answer instead of starting another child.
  std::unordered_set<std::string> inFlight_;
};

}  // namespace quillon::app
