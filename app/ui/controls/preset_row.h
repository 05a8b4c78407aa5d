#pragma once

// The three saved-curve slots of the shown device: "Saved", slot buttons 1
// to 3 and the "Save" menu. A slot holding the device's current custom
// values is tinted; an empty slot is dimmed and cannot be clicked; a filled
// slot offers "Delete Slot N" on right-click. Slots are 0 to 2 in the
// source's operations and 1 to 3 on screen.

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "common/config.h"

class QMenu;

namespace quillon::ui {

class BorderedButton;
class MenuButton;

// The five values of a saved custom curve.
struct PresetValues {
  double speed = 0;
  double accel = 0;
  double shape = 1;
  double threshold = 0;
  double maxBoost = 3;
};

// The slot's help text.
QString describePreset(const std::optional<PresetValues>& p);

// Whether the preset equals the device's current custom values (absent
// fields counting as shape 1, threshold 0, max boost 3). The mode is not
// considered.
bool presetIsCurrent(const PresetValues& p, const DeviceConfig& c);

class PresetRow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kSlots = 3;

  // What the row needs of the model.
  struct Source {
    std::function<std::optional<PresetValues>(int slot)> preset;
    std::function<DeviceConfig()> cfg;  // the shown device's settings
    std::function<void(int slot)> load;
    std::function<void(int slot)> save;
    std::function<void(int slot)> remove;
  };

  explicit PresetRow(Source source, QWidget* parent = nullptr);

  BorderedButton* slotButton(int slot) const { return slots_.at(static_cast<size_t>(slot)); }
  MenuButton* saveButton() const { return save_; }

 public slots:
  // The presets or the device's values changed: tint, dim and help again.
  void refresh();

 private:
  void fillSaveMenu();
  void showSlotMenu(int slot, QPoint globalPos);

  Source source_;
  std::array<BorderedButton*, kSlots> slots_{};
  MenuButton* save_;
};

}  // namespace quillon::ui
