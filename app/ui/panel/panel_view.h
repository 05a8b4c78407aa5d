#pragma once

// The menu bar panel's content, bound to the app's Model: the warning line
// (when the helper is not doing its job), the device picker, the missing-trackpad note, the
// switches, scroll speed, mouse DPI, the mode picker with its mode's controls, the curve graph, the
// formula or the model's message, and the footer (absent in a preview-only process).
//
// Sections whose presence depends on the device, the mode and a few stored
// fields are rebuilt when that shape changes; a value change only refreshes
// the controls, so a slider being dragged is never replaced under the
// pointer.

#include <QWidget>
#include <functional>
#include <optional>

#include "app/core/vocabulary.h"

class QLabel;
class QVBoxLayout;

namespace quillon::app {
class Model;
}

namespace quillon::ui {

class DPIField;
class Divider;
class EquationView;
class LabeledSlider;
class OverlayScrollArea;
class PanelFooter;
class PanelModeSection;
class PanelWarning;
class SegmentedControl;
class SwitchRow;
class ZoomableCurveView;

// What the footer's buttons do, beyond the model's own operations.
struct PanelActions {
  std::function<void()> showSetup;
  std::function<void()> showFeedback;
  std::function<void()> uninstall;
  std::function<void()> quit;
};

class PanelView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 300;
  static constexpr int kPadding = 16;
  static constexpr int kSectionSpacing = 12;
  static constexpr int kSwitchSpacing = 4;

  PanelView(app::Model& model, PanelActions actions, QWidget* parent = nullptr);
  ~PanelView() override;

  // The height the content wants at its fixed width, all of it in view.
  // Given less, the sections above the footer scroll.
  QSizeF contentSize() const;

  // Whether the mouse's "DPI on Windows" field shows although no Windows
  // DPI is stored.
  bool showWinDpi() const { return showWinDpi_; }
  void setShowWinDpi(bool on);

  PanelWarning* warning() const { return warning_; }
  SegmentedControl* devicePicker() const { return devicePicker_; }
  QWidget* trackpadNote() const { return trackpadNote_; }
  SwitchRow* accelSwitch() const { return accel_; }
  SwitchRow* scrollAccelSwitch() const { return scrollAccel_; }
  SwitchRow* naturalSwitch() const { return natural_; }
  LabeledSlider* scrollSpeedSlider() const { return scrollSpeed_; }
  DPIField* dpiField() const { return dpi_; }
  SegmentedControl* modePicker() const { return modePicker_; }
  PanelModeSection* modeSection() const { return modeSection_; }
  ZoomableCurveView* graph() const { return graph_; }
  EquationView* equation() const { return equation_; }
  QLabel* messageLabel() const { return message_; }
  PanelFooter* footer() const { return footer_; }
  OverlayScrollArea* scrollArea() const { return scroll_; }

 signals:
  // The laid-out content changed size.
  void contentSizeChanged(QSizeF size);

 protected:
  bool event(QEvent* event) override;
  // Every press anywhere in the panel, on controls too, posts
  // "endNumberEditing", so an open number field commits on a click
  // elsewhere.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // A click on the empty background ends number editing and takes the
  // typing focus away.
  void mousePressEvent(QMouseEvent* event) override;

 private:
  // What decides which sections exist.
  struct Shape {
    Device device = Device::trackpad;
    app::Mode mode = app::Mode::mac;
    bool winDpiShown = false;
    bool accelOff = false;
    bool operator==(const Shape&) const = default;
  };
  Shape currentShape() const;

  void buildFixedSections();
  // Rebuilds what the shape decides, then refreshes every value.
  void reshape();
  void rebuildModeSection();
  void rebuildGraph();
  // While the slider is dragged the graph keeps its vertical scale.
  void holdGraphScaleWhileDragging(LabeledSlider* slider);
  void refreshValues();
  void refreshCurves();
  void refreshMessage();
  void reportSize();

  app::Model& model_;
  PanelActions actions_;
  bool showWinDpi_ = false;
  std::optional<Shape> built_;
  std::optional<Device> graphDevice_;
  std::optional<QSizeF> reported_;
  bool updating_ = false;

  QWidget* body_;  // the scrolling part
  QVBoxLayout* column_;
  OverlayScrollArea* scroll_;
  Divider* scrollEdge_ = nullptr;
  QWidget* footerBox_ = nullptr;
  PanelWarning* warning_;
  SegmentedControl* devicePicker_;
  QWidget* trackpadNote_;
  SwitchRow* accel_;
  SwitchRow* scrollAccel_;
  SwitchRow* natural_;
  LabeledSlider* scrollSpeed_;
  DPIField* dpi_;
  SegmentedControl* modePicker_;
  PanelModeSection* modeSection_ = nullptr;
  ZoomableCurveView* graph_ = nullptr;
  EquationView* equation_;
  QLabel* message_;
  PanelFooter* footer_ = nullptr;
};

}  // namespace quillon::ui
