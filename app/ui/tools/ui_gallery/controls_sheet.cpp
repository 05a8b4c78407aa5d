#include "controls_sheet.h"

#include <QGridLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "app/ui/graph/curve_view.h"
#include "app/ui/graph/zoomable_curve_view.h"
#include "app/ui/kit/bordered_button.h"
#include "app/ui/kit/borderless_button.h"
#include "app/ui/kit/editable_number.h"
#include "app/ui/kit/link_button.h"
#include "app/ui/kit/plain_slider.h"
#include "app/ui/kit/scroll_bar.h"
#include "app/ui/kit/segmented_control.h"
#include "app/ui/kit/stepper.h"
#include "app/ui/kit/switch.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/panel/panel_chrome.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/symbols.h"
#include "demo_curves.h"

namespace quillon::ui::demo {
namespace {

class SymbolStrip : public QWidget {
 public:
  QSize sizeHint() const override { return {268, 44}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    static const char* names[] = {"hand.point.up.left",
                                  "rectangle.and.hand.point.up.left",
                                  "minus.magnifyingglass",
                                  "plus.magnifyingglass",
                                  "checkmark.circle.fill",
                                  "1.circle",
                                  "2.circle",
                                  "3.circle",
                                  "4.circle",
                                  "chevron.down"};
    QPainter p(this);
    double x = 0;
    for (const char* n : names) {
      const bool check = QString::fromLatin1(n) == QLatin1String("checkmark.circle.fill");
      symbols::paint(p, QRectF(x, 0, 20, 20), QString::fromLatin1(n),
                     check ? colors().green : colors().label);
      x += 26;
    }
    symbols::paint(p, QRectF(0, 24, 17, 17), QStringLiteral("hand.point.up.left"),
                   colors().secondaryLabel);
    symbols::paint(p, QRectF(26, 24, 17, 17), QStringLiteral("3.circle"), colors().secondaryLabel);
  }
};

QWidget* row(std::initializer_list<QWidget*> widgets) {
  auto* w = new QWidget;
  auto* l = new QHBoxLayout(w);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(8);
  for (QWidget* c : widgets) l->addWidget(c, 0, Qt::AlignVCenter);
  l->addStretch(1);
  return w;
}

}  // namespace

QWidget* controlsSheet() {
  static double sliderValue = 1.25;
  static double numberValue = 0.6;
  static double lo = 120;
  auto* content = new QWidget;
  content->setFixedWidth(300);
  auto* col = new QVBoxLayout(content);
  col->setContentsMargins(16, 16, 16, 16);
  col->setSpacing(12);
  col->addWidget(new ThemedLabel("Symbols", fonts::caption(QFont::DemiBold), TextRole::secondary));
  col->addWidget(new SymbolStrip);

  auto* on = new Switch(Switch::Size::small);
  on->setChecked(true);
  auto* off = new Switch(Switch::Size::small);
  auto* disabled = new Switch(Switch::Size::small);
  disabled->setEnabled(false);
  auto* mini = new Switch(Switch::Size::mini);
  mini->setChecked(true);
  auto* regular = new Switch(Switch::Size::regular);
  regular->setChecked(true);
  col->addWidget(row({on, off, disabled, mini, regular}));

  auto* seg = new SegmentedControl({"Mac", "Windows", "Custom"});
  seg->setCurrentIndex(0);
  col->addWidget(seg);

  auto* selected = new BorderedButton("1");
  selected->setSelected(true);
  auto* plain = new BorderedButton("2");
  auto* dimmed = new BorderedButton("3");
  dimmed->setEnabled(false);
  auto* small = new BorderedButton(QString::fromUtf8("Setup…"), ControlSize::small);
  col->addWidget(row({selected, plain, dimmed, small, new Stepper,
                      new LinkButton("Link button", fonts::caption())}));

  const Binding<double> slider{[] { return sliderValue; }, [](double v) { sliderValue = v; }};
  auto* disabledSlider = new PlainSlider("Disabled", slider, {0.25, 3}, 0.05);
  disabledSlider->setEnabled(false);
  col->addWidget(new PlainSlider("Slider", slider, {0.25, 3}, 0.05));
  col->addWidget(disabledSlider);

  auto* editing = new EditableNumber(
      {[] { return numberValue; }, [](double v) { numberValue = v; }}, {0, 2}, 2, {}, Term::accel);
  col->addWidget(
      row({new ThemedLabel("Editable number", fonts::body(), TextRole::primary), editing}));

  // The graph with the pointer over it, zoomed in.
  DeviceConfig c = DeviceConfig::trackpadDefault();
  c.mode = "custom";
  auto* graph = new ZoomableCurveView(400, 200);
  graph->setCurves(curves(c, 400), CurveMode::custom);
  graph->set(60, 140);
  graph->plot()->setHoverFraction(0.42);
  col->addWidget(graph);

  auto* bar = new ScrollBar({[] { return lo; }, [](double v) { lo = v; }});
  bar->setSpan(100, 400);
  col->addWidget(bar);

  col->addWidget(new ThemedLabel(QString::fromUtf8("Caption · secondary"), fonts::caption(),
                                 TextRole::secondary));
  return new PanelChrome(content);
}

}  // namespace quillon::ui::demo
