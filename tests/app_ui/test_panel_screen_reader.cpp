// The panel driven as a screen reader drives it: only through the
// accessibility interfaces (actions, values, states), never a widget's own
// methods; config.json and the message line follow each step.
#include <QAccessible>
#include <QLabel>
#include <QTest>

#include "app/ui/controls/preset_row.h"
#include "app/ui/graph/curve_view.h"
#include "app/ui/graph/zoomable_curve_view.h"
#include "app/ui/panel/panel_mode_section.h"
#include "app/ui/panel/panel_model.h"
#include "app/ui/panel/panel_view.h"
#include "panel_fixture.h"

namespace quillon::ui::test {
namespace {

using R = QAccessible::Role;

class ScreenReader : public PanelTest {
 protected:
  void SetUp() override {
    makeModel();
    model->setDevice(Device::trackpad);
    view = std::make_unique<PanelView>(*model, PanelActions{});
    view->resize(view->contentSize().toSize());
    view->show();
    spin();
  }

  // The first shown element with this role and name, depth first.
  static QAccessibleInterface* find(QAccessibleInterface* at, R role, const QString& name) {
    if (at == nullptr || at->state().invisible) return nullptr;
    if (at->role() == role && at->text(QAccessible::Name) == name) return at;
    for (int i = 0; i < at->childCount(); ++i) {
      if (QAccessibleInterface* found = find(at->child(i), role, name)) return found;
    }
    return nullptr;
  }
  QAccessibleInterface* element(R role, const QString& name) {
    // A rebuilt section is deleted on the next turn of the loop.
    spin(0);
    QAccessibleInterface* e = find(QAccessible::queryAccessibleInterface(view.get()), role, name);
    EXPECT_NE(e, nullptr) << name.toStdString();
    return e;
  }
  void act(R role, const QString& name, const QString& action) {
    if (QAccessibleInterface* e = element(role, name)) e->actionInterface()->doAction(action);
  }
  void setValue(R role, const QString& name, double v) {
    if (QAccessibleInterface* e = element(role, name)) e->valueInterface()->setCurrentValue(v);
  }
  // config.json as saved now (the save is otherwise 0.3 s after an edit).
  std::string savedConfig() {
    EXPECT_TRUE(model->savePending());
    model->save();
    return readFile(paths.configFile);
  }
  QString messageLine() const {
    return QAccessible::queryAccessibleInterface(view->messageLabel())->text(QAccessible::Name);
  }
  static bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }

  std::unique_ptr<PanelView> view;
};

TEST_F(ScreenReader, ChoosesMouseAndCustomSetsSpeedTogglesScrollingAndChangesDpi) {
  QAccessibleInterface* mouse = element(R::RadioButton, "Mouse");
  ASSERT_NE(mouse, nullptr);
  EXPECT_FALSE(mouse->state().checked);
  EXPECT_TRUE(element(R::RadioButton, "Trackpad")->state().checked);
  EXPECT_EQ(mouse->parent()->text(QAccessible::Name), "Device");

  act(R::RadioButton, "Mouse", QAccessibleActionInterface::pressAction());
  EXPECT_EQ(model->device(), Device::mouse);
  EXPECT_TRUE(element(R::RadioButton, "Mouse")->state().checked);
  EXPECT_TRUE(contains(model->message(), "Mouse")) << model->message();
  EXPECT_EQ(messageLine().toStdString(), model->message());

  QAccessibleInterface* custom = element(R::RadioButton, "Custom");
  ASSERT_NE(custom, nullptr);
  EXPECT_EQ(custom->parent()->text(QAccessible::Name), "Shape");
  act(R::RadioButton, "Custom", QAccessibleActionInterface::pressAction());
  EXPECT_EQ(model->mode(), app::Mode::custom);
  EXPECT_TRUE(contains(savedConfig(), "\"mode\": \"custom\""));

  QAccessibleInterface* speed = element(R::Slider, "Tracking Speed");
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(speed->valueInterface()->minimumValue().toDouble(), 5);
  EXPECT_EQ(speed->valueInterface()->maximumValue().toDouble(), 150);
  EXPECT_EQ(speed->valueInterface()->minimumStepSize().toDouble(), 1);
  // Snapped to the step as a drag is.
  speed->valueInterface()->setCurrentValue(20.3);
  EXPECT_EQ(model->cfg().speed, 20);
  EXPECT_EQ(speed->text(QAccessible::Value), "20") << "read as the label beside it";
  EXPECT_EQ(element(R::EditableText, "Tracking Speed")->text(QAccessible::Value), "20");
  EXPECT_TRUE(contains(messageLine().toStdString(), "Mouse: 20 pt per mm"))
      << messageLine().toStdString();
  EXPECT_TRUE(contains(savedConfig(), "\"speed\": 20"));
  // Saving starts the helper, which this machine lacks: the line says so.
  EXPECT_EQ(messageLine().toStdString(), model->message());

  QAccessibleInterface* natural = element(R::CheckBox, "Natural Scrolling");
  ASSERT_NE(natural, nullptr);
  const bool wasNatural = natural->state().checked;
  act(R::CheckBox, "Natural Scrolling", QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(element(R::CheckBox, "Natural Scrolling")->state().checked, !wasNatural);
  EXPECT_EQ(model->config().mouse.natural, !wasNatural);
  EXPECT_EQ(messageLine().toStdString(), model->message());
  EXPECT_TRUE(contains(savedConfig(), wasNatural ? "\"natural\": false" : "\"natural\": true"));

  setValue(R::EditableText, "Mouse DPI", 1600);
  EXPECT_EQ(model->dpiBinding()(), 1600);
  EXPECT_TRUE(contains(messageLine().toStdString(), "Mouse: 20 pt per mm"));
  EXPECT_EQ(element(R::EditableText, "Mouse DPI")->text(QAccessible::Value), "1600");
  EXPECT_TRUE(contains(savedConfig(), "\"dpi\": 1600"));
  act(R::SpinBox, "Mouse DPI", QAccessibleActionInterface::increaseAction());
  EXPECT_EQ(model->dpiBinding()(), 1700);
  EXPECT_EQ(element(R::SpinBox, "Mouse DPI")->text(QAccessible::Value), "1700");
  EXPECT_TRUE(contains(savedConfig(), "\"dpi\": 1700"));
}

TEST_F(ScreenReader, ValuesReadAsTheirLabelsShowThem) {
  act(R::RadioButton, "Mouse", QAccessibleActionInterface::pressAction());
  act(R::RadioButton, "Custom", QAccessibleActionInterface::pressAction());
  struct Case {
    const char* title;
    double value;
    const char* reads;
  };
  const Case cases[] = {
      {"Tracking Speed", 10, "10"},
      {"Acceleration", 0.6, "0.60"},
      {"Max Boost", 2.8, "2.8\u00D7"},
      {"Scroll Speed", 1.5, "1.50\u00D7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    setValue(R::Slider, c.title, c.value);
    QAccessibleInterface* slider = element(R::Slider, c.title);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->text(QAccessible::Value), QString::fromUtf8(c.reads));
    EXPECT_EQ(element(R::EditableText, c.title)->text(QAccessible::Value),
              QString::fromUtf8(c.reads));
  }
  // A disabled control takes no value: the DPI is dimmed in mode mac.
  act(R::RadioButton, "Mac", QAccessibleActionInterface::pressAction());
  const double dpi = model->dpiBinding()();
  QAccessibleInterface* field = element(R::EditableText, "Mouse DPI");
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->state().disabled);
  field->valueInterface()->setCurrentValue(dpi + 500);
  EXPECT_EQ(model->dpiBinding()(), dpi);
}

TEST_F(ScreenReader, SavedCurveSlotsSayWhetherTheyAreEmpty) {
  act(R::RadioButton, "Custom", QAccessibleActionInterface::pressAction());
  EXPECT_NE(element(R::Button, "Saved curve 1, empty"), nullptr);
  EXPECT_TRUE(element(R::Button, "Saved curve 1, empty")->state().disabled);
  model->cfg().speed = 12;
  model->changed();
  // Save into slot 2 as the Save menu would, then read the slots again.
  presetSource(*model).save(1);
  view->modeSection()->presetRow()->refresh();
  EXPECT_NE(element(R::Button, "Saved curve 2"), nullptr);
  EXPECT_NE(element(R::Button, "Saved curve 3, empty"), nullptr);
}

TEST_F(ScreenReader, TheGraphDescribesItsCurvesAndFollowsThem) {
  act(R::RadioButton, "Custom", QAccessibleActionInterface::pressAction());
  QAccessibleInterface* graph = QAccessible::queryAccessibleInterface(view->graph()->plot());
  ASSERT_NE(graph, nullptr);
  const QString before = graph->text(QAccessible::Name);
  EXPECT_TRUE(before.startsWith("Custom, current: ")) << before.toStdString();
  setValue(R::Slider, "Tracking Speed", 20);
  spin(0);
  const QString after = graph->text(QAccessible::Name);
  EXPECT_NE(after, before);
  EXPECT_TRUE(after.contains("20 pt/mm at 0 mm/s")) << after.toStdString();
}

}  // namespace
}  // namespace quillon::ui::test
