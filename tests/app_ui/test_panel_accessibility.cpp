// The panel as a screen reader finds it: the elements of each device and
// mode, each with a role, a name, its value and an action.
#include <QAccessible>
#include <iostream>

#include "a11y_walk.h"
#include "app/ui/panel/panel_view.h"
#include "panel_fixture.h"

namespace quillon::ui::test {
namespace {

using app::Mode;
using R = QAccessible::Role;

struct Wanted {
  R role;
  QString name;
};

class PanelAccessibility : public PanelTest {
 protected:
  PanelView& makeView(Device device, Mode mode) {
    if (!model) makeModel();
    model->setDevice(device);
    model->cfg().mode = std::string(app::modeKey(mode));
    view = std::make_unique<PanelView>(*model, PanelActions{});
    view->resize(view->contentSize().toSize());
    view->show();
    spin();
    return *view;
  }
  std::unique_ptr<PanelView> view;
};

bool has(const std::vector<A11yElement>& found, const Wanted& w) {
  return std::any_of(found.begin(), found.end(),
                     [&](const A11yElement& e) { return e.role == w.role && e.name == w.name; });
}

TEST_F(PanelAccessibility, EveryDeviceAndModeNamesEveryControlWithRoleValueAndAction) {
  const std::vector<Wanted> always = {
      {R::RadioButton, "Trackpad"},
      {R::RadioButton, "Mouse"},
      {R::CheckBox, "Scroll Acceleration"},
      {R::CheckBox, "Natural Scrolling"},
      {R::Slider, "Scroll Speed"},
      {R::EditableText, "Scroll Speed"},
      {R::RadioButton, "Mac"},
      {R::RadioButton, "Windows"},
      {R::RadioButton, "Custom"},
      {R::Slider, "Tracking Speed"},
      {R::CheckBox, "Open Quillon at login"},
      {R::Button, "Quit"},
  };
  struct Case {
    Device device;
    Mode mode;
    std::vector<Wanted> more;
  };
  const Case cases[] = {
      {Device::trackpad, Mode::mac, {{R::CheckBox, "Trackpad Acceleration"}}},
      {Device::trackpad,
       Mode::windows,
       {{R::Slider, "Fine-Tune"}, {R::Button, "Speed"}, {R::Button, "Screen Size"}}},
      {Device::trackpad,
       Mode::custom,
       {{R::Button, "Saved curve 1, empty"},
        {R::Slider, "Max Boost"},
        {R::EditableText, "Max Boost"},
        {R::Button, "Save"}}},
      {Device::mouse,
       Mode::mac,
       {{R::CheckBox, "Mouse Acceleration"},
        {R::EditableText, "Mouse DPI"},
        {R::SpinBox, "Mouse DPI"}}},
      {Device::mouse, Mode::windows, {{R::Button, "Used a different DPI on Windows?"}}},
      {Device::mouse, Mode::custom, {{R::Slider, "Threshold"}, {R::EditableText, "Threshold"}}},
  };
  for (const Case& c : cases) {
    const std::string label =
        std::string(app::displayName(c.device)) + " " + std::string(app::modeKey(c.mode));
    SCOPED_TRACE(label);
    makeView(c.device, c.mode);
    const std::vector<A11yElement> found = interactiveElements(view.get());
    std::cout << "[a11y] panel " << label << ": " << countElements(found) << "\n";
    for (const std::vector<Wanted>* list : {&always, &c.more}) {
      for (const Wanted& w : *list) EXPECT_TRUE(has(found, w)) << w.name.toStdString();
    }
    expectEveryElementComplete(found);
  }
}

}  // namespace
}  // namespace quillon::ui::test
