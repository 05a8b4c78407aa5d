// The saved-curve saved: tint, dimmed empty saved, loading, the context
// menu's delete and the Save menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include "app/ui/controls/preset_row.h"
#include "app/ui/kit/bordered_button.h"
#include "app/ui/kit/menu_button.h"
#include "ui_events.h"

namespace quillon::ui {
namespace {

struct PresetFixture : ::testing::Test {
  std::array<std::optional<PresetValues>, 3> saved;
  DeviceConfig cfg;
  std::vector<std::string> calls;
  std::unique_ptr<PresetRow> row;

  void SetUp() override {
    cfg.speed = 30;
    cfg.accel = 0.8;  // shape, threshold, maxBoost absent: 1, 0, 3
    saved[0] = PresetValues{30, 0.8, 1.0, 0, 3};
    saved[1] = PresetValues{45, 1.2, 1.4, 20, 4};
    row = std::make_unique<PresetRow>(PresetRow::Source{
        [this](int i) { return saved[static_cast<size_t>(i)]; }, [this] { return cfg; },
        [this](int i) { calls.push_back("load " + std::to_string(i)); },
        [this](int i) { calls.push_back("save " + std::to_string(i)); },
        [this](int i) {
          calls.push_back("delete " + std::to_string(i));
          saved[static_cast<size_t>(i)].reset();
        }});
    row->resize(268, 24);
    row->show();
  }

  static void rightClick(QWidget* w) {
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w, &e);
  }
  static QMenu* openMenu() {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu;
  }
  static QStringList titles(QMenu* m) {
    QStringList out;
    for (QAction* a : m->actions()) out << a->text();
    return out;
  }
};

TEST_F(PresetFixture, TheSlotHoldingTheCurrentValuesIsTintedAndEmptyOnesDimmed) {
  EXPECT_TRUE(row->slotButton(0)->selected());
  EXPECT_FALSE(row->slotButton(1)->selected());
  EXPECT_FALSE(row->slotButton(2)->selected());
  EXPECT_FALSE(row->slotButton(2)->isEnabled());
  // Dimmed once, by the disabled text colour; the button is not faded too.
  for (int i = 0; i < PresetRow::kSlots; ++i) EXPECT_DOUBLE_EQ(row->slotButton(i)->dimmed(), 1.0);

  // Each of the five values counts; a stored default equals an absent one.
  cfg.maxBoost = 3.0;
  row->refresh();
  EXPECT_TRUE(row->slotButton(0)->selected());
  cfg.threshold = 5;
  row->refresh();
  EXPECT_FALSE(row->slotButton(0)->selected());
  // Several equal saved are all tinted, whatever the mode.
  cfg = DeviceConfig{};
  cfg.mode = "mac";
  cfg.speed = 45, cfg.accel = 1.2, cfg.shape = 1.4, cfg.threshold = 20, cfg.maxBoost = 4;
  saved[2] = saved[1];
  row->refresh();
  EXPECT_FALSE(row->slotButton(0)->selected());
  EXPECT_TRUE(row->slotButton(1)->selected());
  EXPECT_TRUE(row->slotButton(2)->selected());
}

TEST_F(PresetFixture, ClickingAFilledSlotLoadsItAndAnEmptyOneDoesNothing) {
  test::click(row->slotButton(1), {8, 8});
  test::click(row->slotButton(2), {8, 8});
  EXPECT_EQ(calls, (std::vector<std::string>{"load 1"}));
}

TEST_F(PresetFixture, HelpTextsDescribeEachSlot) {
  EXPECT_EQ(
      row->slotButton(1)->toolTip(),
      QString::fromUtf8("Speed 45 · Acceleration 1.20 · Shape 1.40 · Threshold 20 · Max 4.0×"));
  EXPECT_EQ(row->slotButton(2)->toolTip(),
            QStringLiteral("Empty. Use Save to store the current curve here."));
}

TEST_F(PresetFixture, RightClickOnAFilledSlotOffersDeleteOnly) {
  rightClick(row->slotButton(2));
  EXPECT_EQ(openMenu(), nullptr);

  rightClick(row->slotButton(1));
  QMenu* menu = openMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(titles(menu), QStringList{QStringLiteral("Delete Slot 2")});
  menu->actions().front()->trigger();
  menu->close();
  EXPECT_EQ(calls, (std::vector<std::string>{"delete 1"}));
  // The row follows at once: slot 2 is now empty.
  EXPECT_FALSE(row->slotButton(1)->isEnabled());
}

TEST_F(PresetFixture, SaveMenuNamesFilledSlotsAsReplacements) {
  row->saveButton()->setFixedSize(row->saveButton()->sizeHint());
  test::press(row->saveButton(), {5, 5});
  QMenu* menu = openMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(titles(menu), (QStringList{"Slot 1 (replace)", "Slot 2 (replace)", "Slot 3"}));
  EXPECT_EQ(row->saveButton()->toolTip(), QStringLiteral("Save the current curve to a slot."));
  menu->actions()[2]->trigger();
  menu->close();
  EXPECT_EQ(calls, (std::vector<std::string>{"save 2"}));
}

}  // namespace
}  // namespace quillon::ui
