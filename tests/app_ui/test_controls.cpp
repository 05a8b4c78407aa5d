// Sliders, the DPI stepper and the small controls, clicked and dragged
// through the real widgets.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>

#include "app/ui/controls/dpi_field.h"
#include "app/ui/controls/labeled_slider.h"
#include "app/ui/kit/bordered_button.h"
#include "app/ui/kit/choice_row.h"
#include "app/ui/kit/editable_number.h"
#include "app/ui/kit/plain_slider.h"
#include "app/ui/kit/segmented_control.h"
#include "app/ui/kit/stepper.h"
#include "app/ui/kit/switch.h"
#include "app/ui/kit/value_text.h"
#include "ui_events.h"

namespace quillon::ui {
namespace {

using test::click;
using test::drag;
using test::moveHeld;
using test::press;
using test::release;

// A bound double that counts its writes.
struct Value {
  double v = 0;
  int writes = 0;
  Binding<double> binding() {
    return {[this] { return v; },
            [this](double x) {
              v = x;
              ++writes;
            }};
  }
};

// knob 18, width 218: the knob travels 200 points, from x = 9 to x = 209.
struct SliderFixture : ::testing::Test {
  Value value{1.0};
  PlainSlider slider{"Scroll Speed", value.binding(), {0.25, 3.0}, 0.05};
  void SetUp() override { slider.resize(218, 22); }
  double at(double fraction) const { return 9 + fraction * 200; }
};

TEST_F(SliderFixture, AClickJumpsToTheSnappedValueUnderThePointer) {
  struct Case {
    double x, value;
  };
  // f = (x − 9) / 200; value = snap(0.25 + f × 2.75).
  for (const Case& c : {Case{9, 0.25}, Case{0, 0.25}, Case{209, 3.0}, Case{300, 3.0},
                        Case{113, 1.70}, Case{49, 0.80}}) {
    click(&slider, {c.x, 11});
    EXPECT_NEAR(value.v, c.value, 1e-9) << "x " << c.x;
  }
}

TEST_F(SliderFixture, DragWritesOnlyWhenTheSnappedValueChanges) {
  value.v = 0.25;
  press(&slider, {at(0), 11});
  EXPECT_EQ(value.writes, 0);  // already there
  // A step is 0.05 / 2.75 × 200 = 3.6 points; within half of it nothing changes.
  for (double dx = 0; dx < 1.75; dx += 0.25) moveHeld(&slider, {at(0) + dx, 11});
  EXPECT_EQ(value.writes, 0);
  moveHeld(&slider, {at(1) + 40, 11});
  release(&slider, {at(1) + 40, 11});
  EXPECT_DOUBLE_EQ(value.v, 3.0);
  EXPECT_EQ(value.writes, 1);
}

TEST_F(SliderFixture, SaysWhenADragBeginsAndEndsAndNothingForSteps) {
  std::vector<std::string> said;
  QObject::connect(&slider, &PlainSlider::dragStarted, [&] { said.push_back("start"); });
  QObject::connect(&slider, &PlainSlider::dragEnded, [&] { said.push_back("end"); });
  QObject::connect(&slider, &PlainSlider::edited, [&](double) { said.push_back("value"); });

  // The start comes before the first value, so a listener sees the state
  // the drag began from.
  press(&slider, {at(0.5), 11});
  moveHeld(&slider, {at(0.9), 11});
  EXPECT_TRUE(slider.isDragging());
  release(&slider, {at(0.9), 11});
  EXPECT_EQ(said, (std::vector<std::string>{"start", "value", "value", "end"}));
  EXPECT_FALSE(slider.isDragging());

  said.clear();
  slider.increment();
  slider.decrement();
  release(&slider, {at(0.2), 11});  // a release without a press
  EXPECT_EQ(said, (std::vector<std::string>{"value", "value"}));

  // Taken away mid-drag: the drag ends all the same.
  said.clear();
  slider.show();
  press(&slider, {at(0.1), 11});
  slider.hide();
  EXPECT_EQ(said, (std::vector<std::string>{"start", "value", "end"}));
}

TEST_F(SliderFixture, AccessibilityStepsAndReadsTheValue) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&slider);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->role(), QAccessible::Slider);
  EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Scroll Speed"));
  EXPECT_EQ(a->childCount(), 0);
  QAccessibleActionInterface* actions = a->actionInterface();
  ASSERT_NE(actions, nullptr);
  actions->doAction(QAccessibleActionInterface::increaseAction());
  EXPECT_NEAR(value.v, 1.05, 1e-9);
  EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("1.05"));
  value.v = 2.98;
  actions->doAction(QAccessibleActionInterface::increaseAction());
  EXPECT_DOUBLE_EQ(value.v, 3.0);
  actions->doAction(QAccessibleActionInterface::increaseAction());
  EXPECT_DOUBLE_EQ(value.v, 3.0);
  value.v = 0.27;
  actions->doAction(QAccessibleActionInterface::decreaseAction());
  EXPECT_DOUBLE_EQ(value.v, 0.25);
}

TEST(PlainSliderFocus, ClickingTakesNoKeyboardFocus) {
  double v = 1;
  QWidget window;
  auto* slider =
      new PlainSlider("Speed", {[&] { return v; }, [&](double x) { v = x; }}, {0, 3}, 0.1, &window);
  slider->resize(218, 22);
  window.show();
  click(slider, {100, 11});
  EXPECT_NE(v, 1);
  EXPECT_FALSE(slider->hasFocus());
  EXPECT_EQ(slider->focusPolicy(), Qt::TabFocus) << "by Tab only";
}

// Every slider of the panel reaches exactly its range's two ends by
// dragging, and shows its value editable or as plain text.
TEST(LabeledSliderTable, DragsReachTheRangeEndsAndValuesShowAsTheRowSays) {
  struct Row {
    SliderSpec spec;
    double lower, upper;
    const char* shownAtLower;  // the value text after dragging to the left end
  };
  const Row rows[] = {
      {sliders::scrollSpeed(), 0.25, 3.0, "0.25×"},
      {sliders::macTrackingSpeed(), 0, 3, "0.00"},
      {sliders::windowsTrackingSpeed(Device::trackpad), 1, 10, "1"},
      {sliders::windowsTrackingSpeed(Device::mouse), 1, 20, "1"},
      {sliders::fineTune(), 0.5, 2.0, "0.50×"},
      {sliders::customTrackingSpeed(Device::trackpad), 2, 25, "2"},
      {sliders::customTrackingSpeed(Device::mouse), 5, 150, "5"},
      {sliders::acceleration(), 0, 2, "0.00"},
      {sliders::shape(), 0.2, 3.0, "0.20"},
      {sliders::threshold(), 0, 300, "0"},
      {sliders::maxBoost(), 1, 10, "1.0×"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.spec.title.toStdString() + " " + row.spec.format.toStdString());
    Value value{(row.lower + row.upper) / 2};
    LabeledSlider ls(row.spec, value.binding());
    ls.resize(268, 60);
    ls.show();
    PlainSlider* s = ls.slider();
    drag(s, {s->width() / 2.0, 11}, {-50, 11});
    EXPECT_DOUBLE_EQ(value.v, row.lower);
    const QString text = ls.number() ? ls.number()->displayText() : ls.valueText()->text();
    EXPECT_EQ(text, QString::fromUtf8(row.shownAtLower));
    drag(s, {s->width() / 2.0, 11}, {s->width() + 50.0, 11});
    EXPECT_NEAR(value.v, row.upper, 1e-9);
  }
}

TEST(LabeledSliderTable, FineTuneIsPlainTextAndTheOthersAreEditable) {
  Value v{1};
  LabeledSlider fine(sliders::fineTune(), v.binding());
  EXPECT_EQ(fine.number(), nullptr);
  ASSERT_NE(fine.valueText(), nullptr);
  EXPECT_EQ(fine.valueText()->text(), QString::fromUtf8("1.00×"));
  LabeledSlider boost(sliders::maxBoost(), v.binding());
  ASSERT_NE(boost.number(), nullptr);
  EXPECT_EQ(boost.titleLabel()->toolTip(), QStringLiteral("The most speed can be multiplied by."));
}

TEST(LabeledSliderTable, ADragShowsInTheNumberAtOnce) {
  Value v{0.6};
  LabeledSlider ls(sliders::acceleration(), v.binding());
  ls.resize(268, 60);
  ls.show();
  int edits = 0;
  QObject::connect(&ls, &LabeledSlider::edited, [&] { ++edits; });
  drag(ls.slider(), {100, 11}, {-10, 11});
  EXPECT_EQ(ls.number()->shown(), QStringLiteral("0.00"));
  EXPECT_GE(edits, 1);
}

struct DpiFixture : ::testing::Test {
  Value value{1650};
  DPIField field{value.binding()};
  void clickUp() { click(field.stepper(), {6, 5}); }
  void clickDown() { click(field.stepper(), {6, 17}); }
};

TEST_F(DpiFixture, StepperMovesBetweenHundredsWithinRange) {
  field.show();
  clickUp();
  EXPECT_DOUBLE_EQ(value.v, 1700);
  value.v = 1650;
  clickDown();
  EXPECT_DOUBLE_EQ(value.v, 1600);
  clickDown();
  EXPECT_DOUBLE_EQ(value.v, 1500);
  clickUp();
  EXPECT_DOUBLE_EQ(value.v, 1600);
  value.v = 120;
  clickDown();
  clickDown();
  EXPECT_DOUBLE_EQ(value.v, 100);
  value.v = 64990;
  clickUp();
  clickUp();
  EXPECT_DOUBLE_EQ(value.v, 65000);
  EXPECT_EQ(field.number()->shown(), QStringLiteral("65000"));
}

TEST(DpiFieldText, DefaultsToMouseDpi) {
  double v = 1600;
  DPIField f({[&] { return v; }, [&](double x) { v = x; }});
  EXPECT_EQ(f.titleLabel()->text(), QStringLiteral("Mouse DPI"));
  EXPECT_TRUE(f.titleLabel()->toolTip().startsWith(QStringLiteral("Your mouse's DPI")));
}

TEST(SwitchRowTest, TheWholeRowTogglesUnlessDisabled) {
  SwitchRow row("Natural Scrolling", QFont());
  row.resize(268, 22);
  row.show();
  std::vector<bool> seen;
  QObject::connect(&row, &SwitchRow::toggledByUser, [&](bool on) { seen.push_back(on); });
  click(row.titleLabel(), {5, 5});  // the label ignores the press: the row takes it
  click(&row, {150, 11});           // the empty middle of the row
  click(row.toggle(), {5, 5});
  EXPECT_EQ(seen, (std::vector<bool>{true, false, true}));
  row.setChecked(false);  // from the model: no signal
  EXPECT_EQ(seen.size(), 3u);
  row.setEnabled(false);
  click(&row, {150, 11});
  EXPECT_FALSE(row.isChecked());
}

TEST(ChoiceRowTest, AClickStoresTheValueAndMovesTheTint) {
  std::string match = "distance";
  ChoiceRow row(matchChoices(), {[&] { return match; }, [&](std::string v) { match = v; }});
  row.resize(268, 24);
  row.show();
  EXPECT_TRUE(row.button(0)->selected());
  click(row.button(1), {10, 10});
  EXPECT_EQ(match, "share");
  EXPECT_FALSE(row.button(0)->selected());
  EXPECT_TRUE(row.button(1)->selected());
  EXPECT_EQ(row.button(1)->toolTip(), QStringLiteral("Speed scales with screen size."));
}

TEST(SegmentedControlTest, AClickChoosesTheSegmentUnderThePointer) {
  SegmentedControl seg({"Mac", "Windows", "Custom"});
  seg.resize(270, 22);
  std::vector<int> chosen;
  QObject::connect(&seg, &SegmentedControl::activated, [&](int i) { chosen.push_back(i); });
  click(&seg, {200, 11});
  click(&seg, {10, 11});
  // Pressed on one segment, released on another: nothing.
  press(&seg, {100, 11});
  release(&seg, {200, 11});
  EXPECT_EQ(chosen, (std::vector<int>{2, 0}));
  EXPECT_EQ(seg.currentIndex(), 0);
}

}  // namespace
}  // namespace quillon::ui
