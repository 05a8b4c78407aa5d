// The panel without a pointer: Tab and Shift-Tab in reading order with
// every control reachable (as with Full Keyboard Access on), the focus
// ring, Space, the arrows, typing into a number, Escape; and a click that
// still moves no focus.
#include <QAccessible>
#include <QApplication>
#include <QStyleHints>
#include <QTest>

#include "app/ui/controls/dpi_field.h"
#include "app/ui/controls/labeled_slider.h"
#include "app/ui/kit/editable_number.h"
#include "app/ui/kit/focus_ring.h"
#include "app/ui/kit/plain_slider.h"
#include "app/ui/kit/segmented_control.h"
#include "app/ui/kit/stepper.h"
#include "app/ui/kit/switch.h"
#include "app/ui/panel/panel_mode_section.h"
#include "app/ui/panel/panel_view.h"
#include "panel_fixture.h"

namespace quillon::ui::test {
namespace {

class Keyboard : public PanelTest {
 protected:
  void SetUp() override {
    QGuiApplication::styleHints()->setTabFocusBehavior(Qt::TabFocusAllControls);
    makeModel();
  }
  PanelView& makeView(Device device, const char* mode) {
    model->setDevice(device);
    model->cfg().mode = mode;
    view = std::make_unique<PanelView>(*model, PanelActions{});
    view->resize(view->contentSize().toSize());
    view->show();
    QApplication::setActiveWindow(view.get());
    spin();
    return *view;
  }
  // A key as the keyboard sends it: to the focused widget, else the window.
  void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) {
    QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : view.get();
    QTest::keyClick(to, k, mods);
    spin(0);
  }
  void type(char c) {
    QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : view.get();
    QTest::keyClicks(to, QString(QChar(c)));
    spin(0);
  }
  // What a screen reader says of the focused control: its role and name.
  static QString focused() {
    QWidget* w = QApplication::focusWidget();
    if (w == nullptr) return QStringLiteral("(none)");
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return QStringLiteral("%1 %2").arg(a->role()).arg(a->text(QAccessible::Name));
  }
  static QString name(QAccessible::Role role, const char* title) {
    return QStringLiteral("%1 %2").arg(role).arg(QString::fromUtf8(title));
  }
  // Tab until `w` has the focus (at most once round).
  void tabTo(QWidget* w) {
    for (int i = 0; i < 60 && QApplication::focusWidget() != w; ++i) key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w) << focused().toStdString();
  }

  std::unique_ptr<PanelView> view;
};

using R = QAccessible::Role;

TEST_F(Keyboard, TabWalksEveryControlInReadingOrderAndShiftTabWalksBack) {
  makeView(Device::mouse, "custom");
  const QStringList wanted = {
      name(R::Grouping, "Device"),
      name(R::CheckBox, "Mouse Acceleration"),
      name(R::CheckBox, "Scroll Acceleration"),
      name(R::CheckBox, "Natural Scrolling"),
      name(R::EditableText, "Scroll Speed"),
      name(R::Slider, "Scroll Speed"),
      name(R::EditableText, "Mouse DPI"),
      name(R::SpinBox, "Mouse DPI"),
      name(R::Grouping, "Shape"),
      name(R::Button, "Save"),
      name(R::EditableText, "Tracking Speed"),
      name(R::Slider, "Tracking Speed"),
      name(R::EditableText, "Acceleration"),
      name(R::Slider, "Acceleration"),
      name(R::EditableText, "Shape"),
      name(R::Slider, "Shape"),
      name(R::EditableText, "Threshold"),
      name(R::Slider, "Threshold"),
      name(R::EditableText, "Max Boost"),
      name(R::Slider, "Max Boost"),
      name(R::Button, "Zoom out"),
      name(R::Button, "Zoom in"),
      name(R::ScrollBar, "Graph position"),
  };
  QStringList walked;
  for (int i = 0; i < wanted.size(); ++i) {
    key(Qt::Key_Tab);
    walked << focused();
  }
  EXPECT_EQ(walked.join(" | ").toStdString(), wanted.join(" | ").toStdString());
  // The footer follows the graph; the last control leads back to the first.
  QStringList rest;
  for (int i = 0; i < 40 && focused() != wanted.front(); ++i) {
    key(Qt::Key_Tab);
    rest << focused();
  }
  EXPECT_TRUE(rest.contains(name(R::CheckBox, "Open Quillon at login")))
      << rest.join(", ").toStdString();
  EXPECT_TRUE(rest.contains(name(R::Button, "Quit")));
  EXPECT_EQ(focused(), wanted.front());

  QStringList back;
  for (int i = 0; i < 3; ++i) {
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    back << focused();
  }
  key(Qt::Key_Tab);
  key(Qt::Key_Tab);
  EXPECT_EQ(focused(), back[0]);
}

TEST_F(Keyboard, TheFocusedControlIsRingedOutsideItsOutline) {
  makeView(Device::trackpad, "mac");
  key(Qt::Key_Tab);
  SegmentedControl* picker = view->devicePicker();
  ASSERT_EQ(QApplication::focusWidget(), picker);
  FocusRing* ring = FocusRing::current();
  ASSERT_NE(ring, nullptr);
  EXPECT_EQ(ring->target(), picker);
  EXPECT_TRUE(ring->isVisible());
  const QRectF outline = ring->outlineInWindow().boundingRect();
  const QRectF around = QRectF(ring->geometry());
  // Room for the 3-point ring on every side.
  EXPECT_LE(around.left(), outline.left() - kFocusRingWidth);
  EXPECT_GE(around.right(), outline.right() + kFocusRingWidth);
  EXPECT_LE(around.top(), outline.top() - kFocusRingWidth);

  // Drawn: just outside the outline the ring's colour, inside none of it.
  const QImage shot = view->grab().toImage();
  const QColor ringColour = focusRingColor();
  const QPoint outside(qRound(outline.center().x()), qRound(outline.top() - 1.5));
  const QColor at = shot.pixelColor(outside * shot.devicePixelRatio());
  EXPECT_LT(std::abs(at.hue() - ringColour.hue()), 20) << at.name().toStdString();

  key(Qt::Key_Tab);
  EXPECT_EQ(FocusRing::current()->target(), QApplication::focusWidget());
}

TEST_F(Keyboard, SpaceArrowsDigitsReturnAndEscape) {
  makeView(Device::mouse, "mac");
  // Space toggles a focused switch.
  Switch* natural = view->naturalSwitch()->toggle();
  const bool was = model->config().mouse.natural;
  tabTo(natural);
  key(Qt::Key_Space);
  EXPECT_EQ(model->config().mouse.natural, !was);
  EXPECT_EQ(natural->isChecked(), !was);

  // The arrows move a focused slider by its step.
  PlainSlider* scroll = view->scrollSpeedSlider()->slider();
  const double speed = model->scrollSpeedBinding()();
  tabTo(scroll);
  key(Qt::Key_Right);
  EXPECT_DOUBLE_EQ(model->scrollSpeedBinding()(), speed + 0.05);
  key(Qt::Key_Left);
  key(Qt::Key_Down);
  EXPECT_DOUBLE_EQ(model->scrollSpeedBinding()(), speed - 0.05);

  // A digit starts editing a focused number; Return commits and leaves the
  // focus on the number.
  EditableNumber* number = view->scrollSpeedSlider()->number();
  key(Qt::Key_Backtab, Qt::ShiftModifier);
  ASSERT_EQ(QApplication::focusWidget(), number);
  type('2');
  EXPECT_TRUE(number->editing());
  EXPECT_EQ(number->text(), "2");
  key(Qt::Key_Return);
  EXPECT_FALSE(number->editing());
  EXPECT_EQ(model->scrollSpeedBinding()(), 2.0);
  EXPECT_EQ(QApplication::focusWidget(), number);
  // Return starts editing too; Escape cancels, the value stays.
  key(Qt::Key_Return);
  EXPECT_TRUE(number->editing());
  type('1');
  key(Qt::Key_Escape);
  EXPECT_FALSE(number->editing());
  EXPECT_EQ(model->scrollSpeedBinding()(), 2.0);
  EXPECT_EQ(QApplication::focusWidget(), number);

  // The arrows move a focused picker between its choices.
  tabTo(view->modePicker());
  key(Qt::Key_Right);
  EXPECT_EQ(model->mode(), app::Mode::windows);
  key(Qt::Key_Right);
  EXPECT_EQ(model->mode(), app::Mode::custom);
  key(Qt::Key_Right);
  EXPECT_EQ(model->mode(), app::Mode::custom) << "the last choice stays";
  key(Qt::Key_Left);
  EXPECT_EQ(model->mode(), app::Mode::windows);

  // The stepper steps the DPI by whole hundreds.
  model->setMode(app::Mode::custom);
  spin(0);
  const double dpi = model->dpiBinding()();
  tabTo(view->dpiField()->stepper());
  key(Qt::Key_Up);
  EXPECT_EQ(model->dpiBinding()(), std::floor(dpi / 100) * 100 + 100);
}

TEST_F(Keyboard, AClickMovesNoFocus) {
  makeView(Device::mouse, "custom");
  for (QWidget* w : std::initializer_list<QWidget*>{
           view->naturalSwitch()->toggle(), view->scrollSpeedSlider()->slider(), view->modePicker(),
           view->dpiField()->stepper()}) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(3, 3));
    spin(0);
    EXPECT_EQ(QApplication::focusWidget(), nullptr) << w->metaObject()->className();
  }
}

}  // namespace
}  // namespace quillon::ui::test
