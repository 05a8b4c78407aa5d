#include "mock_panel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/ui/controls/dpi_field.h"
#include "app/ui/controls/labeled_slider.h"
#include "app/ui/controls/shortcut_row.h"
#include "app/ui/graph/equation_view.h"
#include "app/ui/graph/zoomable_curve_view.h"
#include "app/ui/kit/bordered_button.h"
#include "app/ui/kit/choice_row.h"
#include "app/ui/kit/divider.h"
#include "app/ui/kit/link_button.h"
#include "app/ui/kit/segmented_control.h"
#include "app/ui/kit/switch.h"
#include "app/ui/kit/symbol_label.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/panel/panel_chrome.h"
#include "app/ui/style/fonts.h"
#include "demo_curves.h"

namespace quillon::ui::demo {
namespace {

Binding<double> bind(double& v) {
  return {[&v] { return v; }, [&v](double x) { v = x; }};
}

QWidget* switches(DemoState& s) {
  auto* box = new QWidget;
  auto* col = new QVBoxLayout(box);
  col->setContentsMargins(0, 0, 0, 0);
  col->setSpacing(4);
  const bool mouse = s.device == Device::mouse;
  auto* accel =
      new SwitchRow(mouse ? "Mouse Acceleration" : "Trackpad Acceleration", fonts::body());
  accel->setChecked(s.accel);
  accel->setToolTip(mouse ? "Pointer gets faster the faster you move."
                          : "Not available for trackpads in macOS.");
  accel->setEnabled(mouse);
  auto* scroll = new SwitchRow("Scroll Acceleration", fonts::body());
  scroll->setChecked(s.scrollAccel);
  auto* natural = new SwitchRow("Natural Scrolling", fonts::body());
  natural->setChecked(s.cfg.natural);
  col->addWidget(accel);
  col->addWidget(scroll);
  col->addWidget(natural);
  return box;
}

QWidget* footer() {
  auto* box = new QWidget;
  auto* col = new QVBoxLayout(box);
  col->setContentsMargins(0, 0, 0, 0);
  col->setSpacing(12);
  col->addWidget(new ShortcutRow("Default", QString::fromUtf8("⌃⌥⌘R"), [] {}));
  col->addWidget(new Divider);

  auto* list = new QVBoxLayout;
  list->setSpacing(2);
  const auto keysRow = [&](const char* title, const char* keys) {
    auto* row = new QHBoxLayout;
    row->addWidget(new ThemedLabel(title, fonts::caption(), TextRole::secondary));
    row->addStretch(1);
    row->addWidget(makeKeysLabel(QString::fromUtf8(keys)));
    list->addLayout(row);
  };
  keysRow("Reset to system default", "⌃⌥⌘M");
  keysRow("Restart Quillon", "⌃⌥⌘0");
  list->addWidget(new ThemedLabel("Shortcuts work anywhere while Quillon runs.", fonts::caption2(),
                                  TextRole::secondary));
  list->addWidget(
      new ThemedLabel("Settings stay on after quitting.", fonts::caption2(), TextRole::secondary));
  col->addLayout(list);

  auto* login = new QHBoxLayout;
  auto* open = new SwitchRow("Open Quillon at login", fonts::caption(), false, Switch::Size::mini);
  open->setChecked(true);
  login->addWidget(open);
  login->addStretch(1);
  login->addWidget(new LinkButton(QString::fromUtf8("Send Feedback…"), fonts::caption()));
  col->addLayout(login);

  auto* small = new QHBoxLayout;
  small->setSpacing(6);
  small->addWidget(new BorderedButton(QString::fromUtf8("Setup…"), ControlSize::small));
  small->addWidget(new BorderedButton(QString::fromUtf8("Uninstall…"), ControlSize::small));
  small->addStretch(1);
  small->addWidget(new BorderedButton("Quit", ControlSize::small));
  col->addLayout(small);
  return box;
}

void modeContent(QVBoxLayout* col, DemoState& s) {
  const bool mouse = s.device == Device::mouse;
  if (s.cfg.mode == "mac") {
    col->addWidget(new LabeledSlider(sliders::macTrackingSpeed(), bind(s.macSpeed)));
    return;
  }
  if (s.cfg.mode == "windows") {
    col->addWidget(
        new LabeledSlider(sliders::windowsTrackingSpeed(s.device), bind(s.cfg.winSpeed)));
    if (mouse) {
      col->addWidget(new DPIField(dpi_fields::windowsDpi(), bind(s.winDpi)));
      col->addWidget(new LinkButton("Same DPI as on this Mac", fonts::caption()));
    } else {
      col->addWidget(new LabeledSlider(sliders::fineTune(), bind(s.cfg.scale)));
    }
    auto* match = new QVBoxLayout;
    match->setSpacing(6);
    auto* title = new ThemedLabel("Match By", fonts::body(), TextRole::primary);
    title->setToolTip(
        "Speed: same pointer speed as Windows.\nScreen Size: speed scales with screen size.");
    match->addWidget(title);
    match->addWidget(new ChoiceRow(
        matchChoices(), {[&s] { return s.match; }, [&s](std::string v) { s.match = v; }}));
    col->addLayout(match);
    return;
  }
  auto* custom = new QVBoxLayout;
  custom->setSpacing(2);
  PresetRow::Source src{[&s](int i) { return s.presets[static_cast<size_t>(i)]; },
                        [&s] { return s.cfg; }, [](int) {}, [](int) {}, [](int) {}};
  custom->addWidget(new PresetRow(src));
  custom->addSpacing(7);
  const auto bindOpt = [](std::optional<double>& o, double dflt) {
    return Binding<double>{[&o, dflt] { return o.value_or(dflt); }, [&o](double v) { o = v; }};
  };
  custom->addWidget(new LabeledSlider(sliders::customTrackingSpeed(s.device), bind(s.cfg.speed)));
  custom->addWidget(new LabeledSlider(sliders::acceleration(), bind(s.cfg.accel)));
  custom->addWidget(new LabeledSlider(sliders::shape(), bindOpt(s.cfg.shape, 1)));
  custom->addWidget(new LabeledSlider(sliders::threshold(), bindOpt(s.cfg.threshold, 0)));
  custom->addWidget(new LabeledSlider(sliders::maxBoost(), bindOpt(s.cfg.maxBoost, 3)));
  col->addLayout(custom);
}

}  // namespace

QWidget* mockPanel(DemoState& s) {
  const bool mouse = s.device == Device::mouse;
  auto* content = new QWidget;
  content->setFixedWidth(300);
  auto* col = new QVBoxLayout(content);
  col->setContentsMargins(16, 16, 16, 16);
  col->setSpacing(12);

  auto* device = new SegmentedControl({"Trackpad", "Mouse"});
  device->setCurrentIndex(mouse ? 1 : 0);
  col->addWidget(device);
  if (!mouse) {
    col->addWidget(new SymbolLabel(
        "rectangle.and.hand.point.up.left",
        "No trackpad connected. These settings apply when you connect a Magic Trackpad.",
        fonts::caption(), TextRole::secondary));
  }
  col->addWidget(switches(s));
  col->addWidget(new LabeledSlider(sliders::scrollSpeed(), bind(s.scrollSpeed)));
  if (mouse) {
    auto* dpi = new DPIField(bind(s.dpi));
    col->addWidget(dpi);
  }
  col->addWidget(new Divider);
  auto* mode = new SegmentedControl({"Mac", "Windows", "Custom"});
  mode->setCurrentIndex(s.cfg.mode == "mac" ? 0 : s.cfg.mode == "windows" ? 1 : 2);
  col->addWidget(mode);
  modeContent(col, s);

  const double full = mouse ? 800 : 400;
  auto* graph = new ZoomableCurveView(full, mouse ? 300 : 200);
  const CurveMode current = s.cfg.mode == "custom"    ? CurveMode::custom
                            : s.cfg.mode == "windows" ? CurveMode::windows
                                                      : CurveMode::mac;
  graph->setCurves(curves(s.cfg, full, !mouse || s.cfg.mode != "mac"), current);
  col->addWidget(graph);
  if (s.cfg.mode == "custom") {
    col->addWidget(new EquationView(s.cfg));
  } else {
    auto* message = new ThemedLabel(
        mouse ? "Mouse: Windows curve at speed 10, matched by speed."
              : "Trackpad: Windows curve at speed 5 (fine-tune 1.00×), matched by speed.",
        fonts::caption(), TextRole::secondary);
    message->setWordWrap(true);
    col->addWidget(message);
  }
  col->addWidget(footer());
  return new PanelChrome(content);
}

}  // namespace quillon::ui::demo
