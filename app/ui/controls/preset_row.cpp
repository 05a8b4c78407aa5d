#include "app/ui/controls/preset_row.h"

#include <QHBoxLayout>
#include <QMenu>

#include "app/ui/kit/bordered_button.h"
#include "app/ui/kit/menu_button.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/style/fonts.h"

namespace quillon::ui {

QString describePreset(const std::optional<PresetValues>& p) {
  if (!p) return QStringLiteral("Empty. Use Save to store the current curve here.");
  return QString::asprintf(
      "Speed %.0f \u00B7 Acceleration %.2f \u00B7 Shape %.2f \u00B7 Threshold %.0f \u00B7 "
      "Max %.1f\u00D7",
      p->speed, p->accel, p->shape, p->threshold, p->maxBoost);
}

bool presetIsCurrent(const PresetValues& p, const DeviceConfig& c) {
  return p.speed == c.speed && p.accel == c.accel && p.shape == c.shape.value_or(1.0) &&
         p.threshold == c.threshold.value_or(0.0) && p.maxBoost == c.maxBoost.value_or(3.0);
}

PresetRow::PresetRow(Source source, QWidget* parent)
    : QWidget(parent),
      source_(std::move(source)),
      save_(new MenuButton(QStringLiteral("Save"), new QMenu)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  auto* saved = new ThemedLabel(QStringLiteral("Saved"), fonts::body(), TextRole::primary);
  saved->setToolTip(
      QStringLiteral("Three saved curves for this device. Click one to load it, "
                     "or right-click it to delete it."));
  row->addWidget(saved, 0, Qt::AlignVCenter);
  for (int i = 0; i < kSlots; ++i) {
    auto* b = new BorderedButton(QString::number(i + 1));
    b->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(b, &QAbstractButton::clicked, this, [this, i] {
      if (source_.load) source_.load(i);
      refresh();
    });
    connect(b, &QWidget::customContextMenuRequested, this,
            [this, i, b](const QPoint& pos) { showSlotMenu(i, b->mapToGlobal(pos)); });
    slots_[static_cast<size_t>(i)] = b;
    row->addWidget(b, 0, Qt::AlignVCenter);
  }
  save_->setToolTip(QStringLiteral("Save the current curve to a slot."));
  connect(save_, &MenuButton::aboutToOpen, this, &PresetRow::fillSaveMenu);
  row->addWidget(save_, 0, Qt::AlignVCenter);
  row->addStretch(1);
  fillSaveMenu();
  refresh();
}

void PresetRow::refresh() {
  const DeviceConfig cfg = source_.cfg ? source_.cfg() : DeviceConfig{};
  for (int i = 0; i < kSlots; ++i) {
    const auto p = source_.preset ? source_.preset(i) : std::nullopt;
    BorderedButton* b = slots_[static_cast<size_t>(i)];
    // A disabled widget gets no context-menu request, and an empty slot
    // offers no menu anyway. Disabled is dimmed enough: no fading on top.
    b->setEnabled(p.has_value());
    b->setSelected(p && presetIsCurrent(*p, cfg));
    b->setToolTip(describePreset(p));
    b->setAccessibleName(p ? QStringLiteral("Saved curve %1").arg(i + 1)
                           : QStringLiteral("Saved curve %1, empty").arg(i + 1));
  }
}

void PresetRow::fillSaveMenu() {
  QMenu* menu = save_->menu();
  menu->clear();
  for (int i = 0; i < kSlots; ++i) {
    const bool filled = source_.preset && source_.preset(i).has_value();
    const QString title = filled ? QStringLiteral("Slot %1 (replace)").arg(i + 1)
                                 : QStringLiteral("Slot %1").arg(i + 1);
    menu->addAction(title, this, [this, i] {
      if (source_.save) source_.save(i);
      refresh();
    });
  }
}

void PresetRow::showSlotMenu(int slot, QPoint globalPos) {
  if (!source_.preset || !source_.preset(slot)) return;
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("destructive"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addAction(QStringLiteral("Delete Slot %1").arg(slot + 1), this, [this, slot] {
    if (source_.remove) source_.remove(slot);
    refresh();
  });
  menu->popup(globalPos);
}

}  // namespace quillon::ui
