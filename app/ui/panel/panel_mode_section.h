#pragma once

// The panel's controls for the shown device's mode:
//   mac      Tracking Speed (macOS's own setting)
//   windows  Tracking Speed; the mouse's Windows DPI group; the trackpad's
//            Fine-Tune; Match By
//   custom   the saved-curve slots, Tracking Speed and, unless acceleration
//            is off, Acceleration, Shape, Threshold and Max Boost
// Made for one device and mode; the panel makes a new one when they change.

#include <QWidget>
#include <functional>
#include <vector>

namespace quillon::app {
class Model;
}

namespace quillon::ui {

class ChoiceRow;
class DPIField;
class LabeledSlider;
class LinkButton;
class PresetRow;

class PanelModeSection : public QWidget {
  Q_OBJECT
 public:
  // showWinDpi: the panel's choice to show the Windows DPI field although
  // none is stored; setShowWinDpi changes it.
  PanelModeSection(app::Model& model, bool showWinDpi, std::function<void(bool)> setShowWinDpi,
                   QWidget* parent = nullptr);

  // The model's values changed: every control shows them again.
  void refresh();

  const std::vector<LabeledSlider*>& sliders() const { return sliders_; }
  // The first slider with this title, or null.
  LabeledSlider* slider(const QString& title) const;
  DPIField* winDpiField() const { return winDpi_; }
  LinkButton* differentDpiLink() const { return differentDpi_; }
  LinkButton* sameDpiLink() const { return sameDpi_; }
  ChoiceRow* matchRow() const { return match_; }
  PresetRow* presetRow() const { return presets_; }

 private:
  void buildMac();
  void buildWindows();
  void buildCustom();
  void addSlider(QLayout* layout, LabeledSlider* slider);

  app::Model& model_;
  bool showWinDpi_;
  std::function<void(bool)> setShowWinDpi_;
  std::vector<LabeledSlider*> sliders_;
  DPIField* winDpi_ = nullptr;
  LinkButton* differentDpi_ = nullptr;
  LinkButton* sameDpi_ = nullptr;
  ChoiceRow* match_ = nullptr;
  PresetRow* presets_ = nullptr;
};

}  // namespace quillon::ui
