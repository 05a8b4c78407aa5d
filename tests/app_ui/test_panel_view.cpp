// The panel's content on a real Model: which sections each device and mode
// shows, the Windows DPI link and field, what a click does to an open number
// field and the focus, and what reaches config.json.
#include <QGraphicsEffect>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "app/ui/controls/dpi_field.h"
#include "app/ui/controls/labeled_slider.h"
#include "app/ui/controls/preset_row.h"
#include "app/ui/graph/curve_view.h"
#include "app/ui/graph/equation_view.h"
#include "app/ui/graph/zoomable_curve_view.h"
#include "app/ui/kit/choice_row.h"
#include "app/ui/kit/editable_number.h"
#include "app/ui/kit/link_button.h"
#include "app/ui/kit/plain_slider.h"
#include "app/ui/kit/segmented_control.h"
#include "app/ui/kit/switch.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/panel/panel_footer.h"
#include "app/ui/panel/panel_mode_section.h"
#include "app/ui/panel/panel_snapshot.h"
#include "app/ui/panel/panel_view.h"
#include "app/ui/style/theme.h"
#include "panel_fixture.h"
#include "ui_events.h"

namespace quillon::ui::test {
namespace {

using app::Mode;

class PanelViewTest : public PanelTest {
 protected:
  // A panel view on screen for the model's state.
  PanelView& makeView() {
    if (!model) makeModel();
    view = std::make_unique<PanelView>(*model, PanelActions{});
    view->resize(view->contentSize().toSize());
    view->show();
    view->activateWindow();
    spin();
    return *view;
  }
  bool shown(const QWidget* w) const { return w && w->isVisibleTo(view.get()); }
  std::vector<QString> sliderTitles() const {
    std::vector<QString> out;
    for (LabeledSlider* s : view->modeSection()->sliders()) out.push_back(s->spec().title);
    return out;
  }
  // The centre of a widget of the view, in the view's coordinates.
  QPointF centreOf(const QWidget* w) const {
    return QPointF(w->mapTo(view.get(), w->rect().center()));
  }

  std::unique_ptr<PanelView> view;
};

TEST_F(PanelViewTest, SectionsFollowTheDeviceAndTheMode) {
  struct Case {
    Device device;
    Mode mode;
    bool accelOff;
    std::vector<QString> sliders;
    double speedUpper;  // the first slider's range
    const char* accelTitle;
    bool accelEnabled;
    bool dpi;
    bool dpiDimmed;
    bool differentDpiLink;
    bool presets;
    bool match;
    bool equation;
  };
  const QString speed = QStringLiteral("Tracking Speed");
  const std::vector<QString> allCustom = {speed, "Acceleration", "Shape", "Threshold", "Max Boost"};
  const Case cases[] = {
      {Device::trackpad,
       Mode::mac,
       false,
       {speed},
       3,
       "Trackpad Acceleration",
       false,
       false,
       false,
       false,
       false,
       false,
       false},
      {Device::trackpad,
       Mode::windows,
       false,
       {speed, "Fine-Tune"},
       10,
       "Trackpad Acceleration",
       true,
       false,
       false,
       false,
       false,
       true,
       false},
      {Device::trackpad, Mode::custom, false, allCustom, 25, "Trackpad Acceleration", true, false,
       false, false, true, false, true},
      {Device::mouse,
       Mode::mac,
       false,
       {speed},
       3,
       "Mouse Acceleration",
       true,
       true,
       true,
       false,
       false,
       false,
       false},
      {Device::mouse,
       Mode::windows,
       false,
       {speed},
       20,
       "Mouse Acceleration",
       true,
       true,
       false,
       true,
       false,
       true,
       false},
      {Device::mouse, Mode::custom, false, allCustom, 150, "Mouse Acceleration", true, true, false,
       false, true, false, true},
      {Device::mouse,
       Mode::custom,
       true,
       {speed},
       150,
       "Mouse Acceleration",
       true,
       true,
       false,
       false,
       true,
       false,
       true},
  };
  makeModel();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(app::displayName(c.device)) + " " + std::string(app::modeKey(c.mode)) +
                 (c.accelOff ? " accel off" : ""));
    model->setDevice(c.device);
    model->cfg().mode = std::string(app::modeKey(c.mode));
    model->cfg().accelOff = c.accelOff ? std::optional(true) : std::nullopt;
    makeView();
    EXPECT_EQ(sliderTitles(), c.sliders);
    EXPECT_EQ(view->modeSection()->sliders().front()->slider()->range().upper, c.speedUpper);
    EXPECT_EQ(view->accelSwitch()->titleLabel()->text(), c.accelTitle);
    EXPECT_EQ(view->accelSwitch()->isEnabled(), c.accelEnabled);
    EXPECT_EQ(view->accelSwitch()->toolTip(), c.accelEnabled
                                                  ? "Pointer gets faster the faster you move."
                                                  : "Not available for trackpads in macOS.");
    EXPECT_EQ(shown(view->dpiField()), c.dpi);
    if (c.dpi) {
      EXPECT_EQ(!view->dpiField()->isEnabled(), c.dpiDimmed);
      // Dimmed once, by its disabled colours; no fading on top of them.
      EXPECT_EQ(view->dpiField()->graphicsEffect(), nullptr);
    }
    EXPECT_EQ(shown(view->modeSection()->differentDpiLink()), c.differentDpiLink);
    EXPECT_EQ(view->modeSection()->winDpiField(), nullptr);
    EXPECT_EQ(shown(view->modeSection()->presetRow()), c.presets);
    EXPECT_EQ(shown(view->modeSection()->matchRow()), c.match);
    EXPECT_EQ(shown(view->equation()), c.equation);
    EXPECT_EQ(shown(view->messageLabel()), !c.equation);
    EXPECT_EQ(view->modePicker()->currentIndex(), static_cast<int>(c.mode));
    EXPECT_EQ(view->devicePicker()->currentIndex(), c.device == Device::mouse ? 1 : 0);
    EXPECT_TRUE(shown(view->graph()));
    EXPECT_FALSE(shown(view->trackpadNote()));
    EXPECT_TRUE(shown(view->footer()));
  }
}

TEST_F(PanelViewTest, TrackpadNoteOnlyWithoutATrackpadAndNoFooterInAPreviewOnlyProcess) {
  writeFile(root / "devices.json", R"({"hid":[{"id":2,"product":"USB Optical Mouse"}]})");
  env.flags.previewOnly = true;
  makeModel();
  model->setDevice(Device::trackpad);
  makeView();
  EXPECT_TRUE(shown(view->trackpadNote()));
  EXPECT_EQ(view->footer(), nullptr);
  QTest::mouseClick(view->devicePicker(), Qt::LeftButton, {},
                    view->devicePicker()->segmentRect(1).center());
  EXPECT_EQ(model->device(), Device::mouse);
  EXPECT_FALSE(shown(view->trackpadNote()));
}

TEST_F(PanelViewTest, WindowsDpiLinkShowsTheFieldAndSameDpiClearsIt) {
  makeModel();
  model->setDevice(Device::mouse);
  model->cfg().mode = "windows";
  makeView();
  LinkButton* different = view->modeSection()->differentDpiLink();
  ASSERT_NE(different, nullptr);
  EXPECT_EQ(different->toolTip(),
            "Only needed if your mouse was set to a different DPI on your Windows PC.");
  different->click();
  spin();
  ASSERT_NE(view->modeSection()->winDpiField(), nullptr);
  EXPECT_TRUE(view->showWinDpi());
  EXPECT_EQ(view->modeSection()->differentDpiLink(), nullptr);

  view->modeSection()->winDpiField()->increment();  // 1600 -> 1700: stored
  EXPECT_EQ(model->config().mouse.winDpi, 1700.0);
  view->modeSection()->sameDpiLink()->click();
  spin();
  EXPECT_EQ(model->config().mouse.winDpi, std::nullopt);
  EXPECT_FALSE(view->showWinDpi());
  EXPECT_EQ(view->modeSection()->winDpiField(), nullptr);
  EXPECT_NE(view->modeSection()->differentDpiLink(), nullptr);

  // A stored Windows DPI shows the field from the start.
  model->config().mouse.winDpi = 800;
  makeView();
  ASSERT_NE(view->modeSection()->winDpiField(), nullptr);
  EXPECT_EQ(view->modeSection()->winDpiField()->number()->shown(), "800");
}

TEST_F(PanelViewTest, ModePickerAndAccelSwitchReshapeTheCustomSection) {
  makeModel();
  model->setDevice(Device::mouse);
  makeView();
  QTest::mouseClick(view->modePicker(), Qt::LeftButton, {},
                    view->modePicker()->segmentRect(2).center());
  spin();
  EXPECT_EQ(model->mode(), Mode::custom);
  EXPECT_EQ(sliderTitles().size(), 5u);
  view->accelSwitch()->toggle()->click();
  spin();
  EXPECT_EQ(model->cfg().accelOff, true);
  EXPECT_EQ(sliderTitles(), std::vector<QString>{"Tracking Speed"});
}

TEST_F(PanelViewTest, ADeviceChangeRedescribesAndRedrawsButWritesNothing) {
  makeModel();
  model->setDevice(Device::trackpad);
  makeView();
  ZoomableCurveView* trackpadGraph = view->graph();
  trackpadGraph->zoom(2.0 / 3.0);
  QTest::mouseClick(view->devicePicker(), Qt::LeftButton, {},
                    view->devicePicker()->segmentRect(1).center());
  spin();
  EXPECT_EQ(model->device(), Device::mouse);
  EXPECT_EQ(model->message(), "Mouse: macOS curve at 0.69");
  EXPECT_EQ(view->messageLabel()->text(), "Mouse: macOS curve at 0.69");
  EXPECT_EQ(model->previewDevice(), Device::mouse);
  ASSERT_NE(view->graph(), trackpadGraph) << "a fresh graph for each device";
  EXPECT_EQ(view->graph()->window().width(), 300.0);
  EXPECT_EQ(view->dpiField()->isVisibleTo(view.get()), true);
  spin(400);
  EXPECT_FALSE(configExists());
  EXPECT_FALSE(model->savePending());
}

TEST_F(PanelViewTest, ASliderDragWritesConfigJson) {
  makeModel();
  model->setDevice(Device::trackpad);
  makeView();
  PlainSlider* slider = view->scrollSpeedSlider()->slider();
  // From 1.00x to the right end: 3.00x.
  drag(slider, QPointF(slider->width() / 2.0, 10), QPointF(slider->width() + 20, 10));
  EXPECT_EQ(model->cfg().scrollSpeed, 3.0);
  EXPECT_EQ(view->scrollSpeedSlider()->number()->shown(), "3.00");
  EXPECT_FALSE(configExists()) << "saved 0.3 s after the last change";
  spin(450);
  ASSERT_TRUE(configExists());
  EXPECT_NE(readFile(paths.configFile).find("\"scrollSpeed\": 3.0"), std::string::npos)
      << readFile(paths.configFile);
}

TEST_F(PanelViewTest, TheGraphHoldsItsScaleWhileASliderIsDraggedAndOnlyThen) {
  makeModel();
  model->setDevice(Device::trackpad);
  model->cfg().mode = "custom";
  model->cfg().speed = 10;
  makeView();
  LabeledSlider* speed = view->modeSection()->slider(QStringLiteral("Tracking Speed"));
  ASSERT_NE(speed, nullptr);
  PlainSlider* slider = speed->slider();
  CurveView* plot = view->graph()->plot();
  const double before = plot->normalScale();

  // Dragged to the top of its range: the custom curve rises past the scale
  // the drag began with, which stays.
  press(slider, QPointF(slider->width() / 2.0, 10));
  moveHeld(slider, QPointF(slider->width() + 20, 10));
  EXPECT_EQ(model->cfg().speed, 25);
  ASSERT_TRUE(view->graph()->scaleHeld());
  EXPECT_DOUBLE_EQ(*plot->scene().heldScale, before);
  EXPECT_GT(plot->normalScale(), before);
  release(slider, QPointF(slider->width() + 20, 10));
  EXPECT_FALSE(view->graph()->scaleHeld());

  // Keyboard steps and typed numbers keep the normal scale.
  slider->decrement();
  EXPECT_FALSE(view->graph()->scaleHeld());
  speed->number()->beginEditing();
  speed->number()->field()->setText(QStringLiteral("12"));
  speed->number()->commit();
  EXPECT_EQ(model->cfg().speed, 12);
  EXPECT_FALSE(view->graph()->scaleHeld());

  // Every slider of the panel holds it, the scroll speed's too.
  for (LabeledSlider* s : view->modeSection()->sliders()) {
    press(s->slider(), QPointF(4, 10));
    EXPECT_TRUE(view->graph()->scaleHeld()) << s->spec().title.toStdString();
    release(s->slider(), QPointF(4, 10));
    EXPECT_FALSE(view->graph()->scaleHeld());
  }
  press(view->scrollSpeedSlider()->slider(), QPointF(4, 10));
  EXPECT_TRUE(view->graph()->scaleHeld());
  release(view->scrollSpeedSlider()->slider(), QPointF(4, 10));
  EXPECT_FALSE(view->graph()->scaleHeld());
}

// Not a check: pictures of the panel mid-drag and of the hover readout, to
// look at. Run with --gtest_also_run_disabled_tests and QUILLON_PICTURES set
// to a folder.
TEST_F(PanelViewTest, DISABLED_PicturesWhileDraggingAndHovering) {
  const QString dir = qEnvironmentVariable("QUILLON_PICTURES");
  if (dir.isEmpty()) GTEST_SKIP() << "QUILLON_PICTURES is not set";
  const auto save = [&](QWidget* w, const QString& name) {
    QImage image(w->size() * kSnapshotScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kSnapshotScale);
    image.fill(colors().panelBackground);
    w->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_TRUE(image.save(dir + "/" + name + ".png"));
  };
  for (const bool dark : {false, true}) {
    const QString look = dark ? QStringLiteral("dark") : QStringLiteral("light");
    Appearance::instance().setDark(dark);
    makeModel();
    model->setDevice(Device::mouse);
    model->cfg().mode = "custom";
    model->cfg().speed = 10;
    model->changed();
    makeView();
    PlainSlider* slider = view->modeSection()->slider(QStringLiteral("Tracking Speed"))->slider();
    save(view.get(), "panel-before-drag-" + look);
    // Tracking Speed from 10 to 17, the pointer still down.
    const double travel = slider->width() - slider->knob();
    const auto xFor = [&](double v) { return slider->knob() / 2 + (v - 5) / (150 - 5) * travel; };
    press(slider, QPointF(xFor(10), 10));
    moveHeld(slider, QPointF(xFor(17), 10));
    spin();
    save(view.get(), "panel-held-scale-" + look);
    save(view->graph(), "graph-held-scale-" + look);
    release(slider, QPointF(xFor(17), 10));
    spin();
    save(view->graph(), "graph-after-drag-" + look);
    // The pointer over the plot at about 136 mm/s.
    CurveView* plot = view->graph()->plot();
    hover(plot, QPointF(6 + (plot->width() - 12) * 136.0 / 300.0, 60));
    spin();
    save(view->graph(), "graph-readout-" + look);
    // The mouse in Mac mode: the DPI row disabled.
    model->setMode(Mode::mac);
    spin();
    save(view.get(), "panel-mouse-mac-" + look);
    view.reset();
  }
  Appearance::instance().setDark(false);
}

TEST_F(PanelViewTest, AClickAnywhereInThePanelCommitsAnOpenNumberAndTakesNoFocus) {
  makeModel();
  model->setDevice(Device::mouse);
  model->cfg().mode = "custom";
  makeView();
  EditableNumber* number = view->modeSection()->slider("Acceleration")->number();
  struct Target {
    const char* name;
    std::function<QWidget*()> widget;
    bool background;
  };
  const Target targets[] = {
      {"a switch", [this] { return view->naturalSwitch(); }, false},
      {"a slider", [this] { return view->scrollSpeedSlider()->slider(); }, false},
      // Inside the top padding.
      {"the background", [this] { return view.get(); }, true},
  };
  double typed = 1.0;
  for (const Target& t : targets) {
    SCOPED_TRACE(t.name);
    QTest::mouseClick(number, Qt::LeftButton);
    ASSERT_TRUE(number->editing());
    number->field()->setText(QString::number(typed, 'f', 2));
    // Inside the 0.3 s guard a click elsewhere does not end editing
    // through the notification (a background click still takes the focus,
    // which commits).
    if (!t.background) {
      QWidget* w = t.widget();
      QTest::mousePress(w, Qt::LeftButton, {}, QPoint(2, 2));
      QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(2, 2));
      EXPECT_TRUE(number->editing());
    }
    spin(320);
    QWidget* w = t.widget();
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(number->editing());
    EXPECT_EQ(model->cfg().accel, typed);
    EXPECT_TRUE(QApplication::focusWidget() == nullptr ||
                !view->isAncestorOf(QApplication::focusWidget()))
        << "focus on " << QApplication::focusWidget()->metaObject()->className();
    typed += 0.25;
  }
}

}  // namespace
}  // namespace quillon::ui::test

namespace quillon::ui::test {
namespace {

TEST_F(PanelViewTest, SectionsMadeJustBeforeTheAppearanceChangesTakeItsColours) {
  Appearance::instance().setDark(false);
  makeModel();
  model->setDevice(Device::trackpad);
  model->config().trackpad.mode = "windows";
  model->config().mouse.mode = "windows";
  makeView();
  model->setDevice(Device::mouse);  // a new mode section, made in the light appearance
  Appearance::instance().setDark(true);
  spin();
  const auto labels = view->modeSection()->findChildren<ThemedLabel*>();
  ASSERT_FALSE(labels.empty());
  for (ThemedLabel* label : labels) {
    SCOPED_TRACE(label->text().toStdString());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), colors().label);
  }
  Appearance::instance().setDark(false);
}

}  // namespace
}  // namespace quillon::ui::test
