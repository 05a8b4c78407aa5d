#include "app/ui/panel/panel_mode_section.h"

#include <QVBoxLayout>

#include "app/core/model.h"
#include "app/ui/controls/dpi_field.h"
#include "app/ui/controls/labeled_slider.h"
#include "app/ui/controls/preset_row.h"
#include "app/ui/kit/choice_row.h"
#include "app/ui/kit/link_button.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/panel/panel_model.h"
#include "app/ui/style/fonts.h"

namespace quillon::ui {
namespace {

constexpr int kWindowsSpacing = 12;
constexpr int kDpiGroupSpacing = 4;
constexpr int kMatchSpacing = 6;
constexpr int kCustomSpacing = 2;
constexpr int kBelowPresets = 7;

QVBoxLayout* column(QWidget* owner, int spacing) {
  auto* layout = new QVBoxLayout(owner);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(spacing);
  return layout;
}

}  // namespace

PanelModeSection::PanelModeSection(app::Model& model, bool showWinDpi,
                                   std::function<void(bool)> setShowWinDpi, QWidget* parent)
    : QWidget(parent),
      model_(model),
      showWinDpi_(showWinDpi),
      setShowWinDpi_(std::move(setShowWinDpi)) {
  switch (model_.mode()) {
    case app::Mode::mac:
      buildMac();
      break;
    case app::Mode::windows:
      buildWindows();
      break;
    case app::Mode::custom:
      buildCustom();
      break;
  }
}

void PanelModeSection::addSlider(QLayout* layout, LabeledSlider* slider) {
  sliders_.push_back(slider);
  layout->addWidget(slider);
}

LabeledSlider* PanelModeSection::slider(const QString& title) const {
  for (LabeledSlider* s : sliders_) {
    if (s->spec().title == title) return s;
  }
  return nullptr;
}

void PanelModeSection::buildMac() {
  QVBoxLayout* col = column(this, 0);
  addSlider(col, new LabeledSlider(sliders::macTrackingSpeed(), model_.macSpeedBinding()));
}

void PanelModeSection::buildWindows() {
  const Device device = model_.device();
  QVBoxLayout* col = column(this, kWindowsSpacing);
  addSlider(col, new LabeledSlider(sliders::windowsTrackingSpeed(device),
                                   model_.binding(&DeviceConfig::winSpeed)));

  if (device == Device::mouse) {
    auto* group = new QWidget;
    QVBoxLayout* dpiCol = column(group, kDpiGroupSpacing);
    if (model_.config().mouse.winDpi || showWinDpi_) {
      winDpi_ = new DPIField(dpi_fields::windowsDpi(), model_.winDpiBinding());
      sameDpi_ = new LinkButton(QStringLiteral("Same DPI as on this Mac"), fonts::caption());
      connect(sameDpi_, &QAbstractButton::clicked, this, [this] {
        model_.config().mouse.winDpi.reset();
        if (setShowWinDpi_) setShowWinDpi_(false);
        model_.changed();
      });
      dpiCol->addWidget(winDpi_);
      dpiCol->addWidget(sameDpi_, 0, Qt::AlignLeft);
    } else {
      differentDpi_ =
          new LinkButton(QStringLiteral("Used a different DPI on Windows?"), fonts::caption());
      differentDpi_->setToolTip(QStringLiteral(
          "Only needed if your mouse was set to a different DPI on your Windows PC."));
      connect(differentDpi_, &QAbstractButton::clicked, this, [this] {
        if (setShowWinDpi_) setShowWinDpi_(true);
      });
      dpiCol->addWidget(differentDpi_, 0, Qt::AlignLeft);
    }
    col->addWidget(group);
  } else {
    addSlider(col, new LabeledSlider(sliders::fineTune(), model_.binding(&DeviceConfig::scale)));
  }

  auto* matchGroup = new QWidget;
  QVBoxLayout* matchCol = column(matchGroup, kMatchSpacing);
  auto* title = new ThemedLabel(QStringLiteral("Match By"), fonts::body(), TextRole::primary);
  title->setToolTip(QStringLiteral(
      "Speed: same pointer speed as Windows.\nScreen Size: speed scales with screen size."));
  match_ = new ChoiceRow(matchChoices(), model_.matchBinding());
  matchCol->addWidget(title, 0, Qt::AlignLeft);
  matchCol->addWidget(match_);
  col->addWidget(matchGroup);
}

void PanelModeSection::buildCustom() {
  const Device device = model_.device();
  QVBoxLayout* col = column(this, kCustomSpacing);
  presets_ = new PresetRow(presetSource(model_));
  col->addWidget(presets_);
  col->addSpacing(kBelowPresets);
  addSlider(col, new LabeledSlider(sliders::customTrackingSpeed(device),
                                   model_.binding(&DeviceConfig::speed)));
  if (model_.cfg().accelOff.value_or(false)) return;
  addSlider(col, new LabeledSlider(sliders::acceleration(), model_.binding(&DeviceConfig::accel)));
  addSlider(col, new LabeledSlider(sliders::shape(), model_.shapeBinding()));
  addSlider(col, new LabeledSlider(sliders::threshold(), model_.thresholdBinding()));
  addSlider(col, new LabeledSlider(sliders::maxBoost(), model_.maxBoostBinding()));
}

void PanelModeSection::refresh() {
  for (LabeledSlider* s : sliders_) s->refresh();
  if (winDpi_) winDpi_->refresh();
  if (match_) match_->refresh();
  if (presets_) presets_->refresh();
}

}  // namespace quillon::ui
